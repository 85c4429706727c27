#pragma once

// Runs outside tools, and checks a PDF with qpdf and pdftotext.

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/scratch_folder.h"

namespace paylark::testing {

struct ToolOutput {
  int exitCode = -1;
  std::string text;
};

inline ToolOutput RunTool(const std::string& command) {
  ToolOutput output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr)
    return output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.text.append(buffer, n);
  const int status = pclose(pipe);
  output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

// A PDF written to a scratch folder for the tools.
class PdfFile {
 public:
  explicit PdfFile(const std::string& bytes) : path_(folder_.PathOf("document.pdf")) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }

  // qpdf's verdict: exit code 0 and no warnings.
  ToolOutput Check() const { return RunTool("qpdf --check '" + path_ + "'"); }
  int PageCount() const { return std::stoi(RunTool("qpdf --show-npages '" + path_ + "'").text); }
  std::string PageText(int page) const {
    const std::string n = std::to_string(page);
    return RunTool("pdftotext -f " + n + " -l " + n + " '" + path_ + "' -").text;
  }

  // The page's words with their boxes, as pdftotext -bbox gives them (XHTML).
  std::string PageWordBoxes(int page) const {
    const std::string n = std::to_string(page);
    return RunTool("pdftotext -bbox -f " + n + " -l " + n + " '" + path_ + "' -").text;
  }

 private:
  ScratchFolder folder_;
  std::string path_;
};

}  // namespace paylark::testing
