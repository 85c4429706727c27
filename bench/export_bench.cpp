// Export and print rendering speed: the template engines must stay linear in the number of dues.
#include <algorithm>
#include <clocale>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/export/html_export.h"
#include "core/export/pdf_export.h"
#include "core/export/template_files.h"
#include "core/print/print_page.h"
#include "tests/support/build_paths.h"

namespace paylark::bench {
namespace {

std::vector<DueRecord> Dues(int count) {
  std::vector<DueRecord> rows;
  for (int i = 0; i < count; ++i) {
    DueRecord record;
    record.recordId = std::to_string(2026120109000000LL + i);
    record.title = "Due number " + std::to_string(i);
    record.startDate = *OleDateTime::FromCivil(2026, 12, 1 + i % 28);
    record.dueDate = *OleDateTime::FromCivil(2026, 12, 1 + i % 28, 9);
    record.payTo = "Payee " + std::to_string(i % 50);
    record.account = "Account " + std::to_string(i % 7);
    record.amount = 10.0 + i % 1000;
    record.paid = i % 2;
    record.notes =
        "First line of the notes\r\nSecond line\r\nThird line with a little more text in it\r\n"
        "Fourth line\r\nFifth line";
    rows.push_back(record);
  }
  return rows;
}

std::string Template(std::string_view name) {
  const std::string path = std::string(kSourceFolder) + "/resources/Templates/" + std::string(name);
  Result<std::string> text = ReadTemplate(path, SystemFileSystem());
  return text.ok() ? text.value() : std::string();
}

// Time per due for 10,000 dues over time per due for 1,000. The sizes take turns, so a busy
// machine slows both alike, and the fastest run of each counts.
template <class Render>
double PerDueRatio(Render&& render) {
  const std::vector<DueRecord> small = Dues(1000);
  const std::vector<DueRecord> large = Dues(10000);
  double perSmall = 1e9;
  double perLarge = 1e9;
  for (int round = 0; round < 5; ++round) {
    perSmall = std::min(perSmall, Seconds([&] { render(small); }) / 1000);
    perLarge = std::min(perLarge, Seconds([&] { render(large); }) / 10000);
  }
  return perLarge / perSmall;
}

}  // namespace
}  // namespace paylark::bench

int main() {
  using namespace paylark;
  using namespace paylark::bench;
  std::setlocale(LC_ALL, "en_US.UTF-8");
  std::setlocale(LC_NUMERIC, "C");

  const std::string exportTemplate = Template(kHtmlExportTemplateName);
  PrintFigure("html_export_per_due_10k_vs_1k", PerDueRatio([&](const std::vector<DueRecord>& rows) {
                (void)RenderHtmlExport(exportTemplate, rows, "December - 2026",
                                       NotesChoice::kWithNotes);
              }));

  const std::string printTemplate = Template(kPrintTemplateName);
  const OleDateTime month = *OleDateTime::FromCivil(2026, 12, 1);
  PrintFigure("print_page_per_due_10k_vs_1k", PerDueRatio([&](const std::vector<DueRecord>& rows) {
                (void)RenderPrintPage(printTemplate, rows, month, month);
              }));

  const std::vector<DueRecord> dues = Dues(1000);
  PrintFigure("pdf_export_1k_ms", 1000 * BestSeconds(5, [&] {
                                    (void)RenderPdfExport(dues, "Dec - 2026",
                                                          NotesChoice::kWithNotes);
                                  }));
  // Titles and notes beyond MacRoman: fonts found, shaped and subset for embedding.
  std::vector<DueRecord> cjk = dues;
  for (DueRecord& due : cjk) {
    due.title = "東京電力 12月分 " + due.title;
    due.notes += "\r\nОплата за декабрь – 1.250,00 €";
  }
  PrintFigure("pdf_export_1k_beyond_macroman_ms", 1000 * BestSeconds(3, [&] {
                                                    (void)RenderPdfExport(cjk, "Dec - 2026",
                                                                          NotesChoice::kWithNotes);
                                                  }));
  return 0;
}
