// Writes sample exports into the folder named by the first argument, for the check that real
// readers (openpyxl, python-docx) accept them: with.xlsx, without.xlsx, with.docx, without.docx,
// empty.xlsx and empty.docx.
#include <clocale>
#include <cstdio>
#include <string>

#include "core/export/docx_export.h"
#include "core/export/xlsx_export.h"
#include "tests/core/office/office_test_support.h"

int main(int argc, char** argv) {
  using namespace paylark;
  if (argc != 2)
    return 2;
  std::setlocale(LC_ALL, "en_US.UTF-8");
  std::setlocale(LC_NUMERIC, "C");
  const std::string folder = argv[1];
  std::vector<DueRecord> rows = testing::TwelveDues();
  rows[0].notes = "first line\r\nsecond line";
  rows[1].title = "Gas & <Power>";
  const auto with = testing::Request(rows, NotesChoice::kWithNotes);
  const auto without = testing::Request(rows, NotesChoice::kWithoutNotes);
  const auto empty = testing::Request({}, NotesChoice::kWithoutNotes);
  bool ok = WriteXlsxExport(folder + "/with.xlsx", with).ok() &&
            WriteXlsxExport(folder + "/without.xlsx", without).ok() &&
            WriteXlsxExport(folder + "/empty.xlsx", empty).ok();
  auto wordRequest = [](OfficeExportRequest request) {
    request.monthText = "February-2007";
    return request;
  };
  ok = ok && WriteDocxExport(folder + "/with.docx", wordRequest(with)).ok() &&
       WriteDocxExport(folder + "/without.docx", wordRequest(without)).ok() &&
       WriteDocxExport(folder + "/empty.docx", wordRequest(empty)).ok();
  if (!ok)
    std::fputs("writing the samples failed\n", stderr);
  return ok ? 0 : 1;
}
