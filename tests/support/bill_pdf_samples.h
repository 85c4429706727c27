#pragma once

#include <filesystem>
#include <string>

namespace paylark::testing {

// Bills as PDFs from Paylark's own PDF writer, apart from the other samples: a program that has
// the writer only from the formats module does without them.

// A PDF from Paylark's PDF writer, text only, with `pages` pages.
void WriteTextPdf(const std::filesystem::path& pdf, int pages);
// As WriteTextPdf, with the code drawn as squares on the given page (from 1).
void WritePdfWithCode(const std::filesystem::path& pdf, const std::string& text, int pages,
                      int codePage);

}  // namespace paylark::testing
