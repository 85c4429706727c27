#include "tests/support/bill_pdf_samples.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/export/pdf_writer.h"
#include "tests/support/bill_samples.h"

namespace paylark::testing {
namespace {

namespace fs = std::filesystem;

// The dark modules of the code, one row of '1' and '0' a line, by qrencode's ASCII output
// ("##" a dark module), with no quiet zone.
std::vector<std::string> Modules(const std::string& text) {
  const fs::path input = fs::temp_directory_path() / ("paylark-qr-" + std::to_string(getpid()));
  std::ofstream(input, std::ios::binary) << text;
  const std::string command = "qrencode -8 -l M -m 0 -t ASCII -r " + ShellQuoted(input);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::vector<std::string> rows;
  char line[4096];
  while (pipe && std::fgets(line, sizeof line, pipe.get())) {
    std::string row;
    for (std::size_t i = 0; line[i] && line[i] != '\n'; i += 2)
      row += line[i] == '#' ? '1' : '0';
    rows.push_back(row);
  }
  fs::remove(input);
  return rows;
}

}  // namespace

void WriteTextPdf(const fs::path& pdf, int pages) {
  WritePdfWithCode(pdf, "", pages, 0);
}

void WritePdfWithCode(const fs::path& pdf, const std::string& text, int pages, int codePage) {
  PdfWriter writer;
  for (int page = 1; page <= pages; ++page) {
    writer.NewPage();
    writer.AddText(
        "Stadtwerke Nordhafen GmbH\r\nRechnung R-2026-1187\r\nSeite " + std::to_string(page), 72,
        740, 1);
    if (page != codePage)
      continue;
    // 3 points a module: 8 pixels at 200 dpi, as a printed code measures.
    constexpr int kModule = 3;
    const std::vector<std::string> rows = Modules(text);
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const int y = 400 - static_cast<int>(row) * kModule;
      for (std::size_t column = 0; column < rows[row].size(); ++column) {
        if (rows[row][column] != '1')
          continue;
        const int x = 200 + static_cast<int>(column) * kModule;
        writer.AddLine(x, y, x + kModule, y, kModule);
      }
    }
  }
  std::ofstream out(pdf, std::ios::binary);
  if (!(out << writer.Bytes()))
    throw std::runtime_error("cannot write " + pdf.string());
}

}  // namespace paylark::testing
