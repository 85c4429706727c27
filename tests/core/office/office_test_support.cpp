#include "tests/core/office/office_test_support.h"

#include <zip.h>

namespace paylark::testing {

std::map<std::string, std::string> ReadZipEntries(const std::string& path) {
  std::map<std::string, std::string> entries;
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (archive == nullptr)
    return entries;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t index = 0; index < count; ++index) {
    zip_stat_t stat;
    if (zip_stat_index(archive, index, 0, &stat) != 0)
      continue;
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (file == nullptr)
      continue;
    std::string content(stat.size, '\0');
    const zip_int64_t read = zip_fread(file, content.data(), stat.size);
    zip_fclose(file);
    if (read == static_cast<zip_int64_t>(stat.size))
      entries[stat.name] = std::move(content);
  }
  zip_close(archive);
  return entries;
}

std::string XmlUnescaped(std::string text) {
  for (const auto& [entity, plain] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}) {
    for (std::size_t at = text.find(entity); at != std::string::npos;
         at = text.find(entity, at + 1))
      text.replace(at, std::string_view(entity).size(), plain);
  }
  return text;
}

DueRecord FebruaryDue(const std::string& title, int day, double amount, bool paid,
                      const std::string& notes) {
  DueRecord due;
  due.title = title;
  due.startDate = *OleDateTime::FromCivil(2007, 2, 1, 9, 0, 0);
  due.dueDate = *OleDateTime::FromCivil(2007, 2, day, 18, 0, 0);
  due.payTo = "Pay " + title;
  due.account = "Acct " + title;
  due.amount = amount;
  due.paid = paid ? 1 : 0;
  due.notes = notes;
  return due;
}

std::vector<DueRecord> TwelveDues() {
  std::vector<DueRecord> dues;
  for (int number = 1; number <= 12; ++number) {
    dues.push_back(
        FebruaryDue("Due " + std::to_string(number), number, 10.0 * number, number % 2 == 1));
  }
  return dues;
}

OfficeExportRequest Request(const std::vector<DueRecord>& rows, NotesChoice notes,
                            std::string monthText) {
  return OfficeExportRequest{rows, std::move(monthText), notes,
                             *OleDateTime::FromCivil(2024, 5, 6, 7, 8, 10)};
}

}  // namespace paylark::testing
