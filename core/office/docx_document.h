#pragma once

#include <string>

#include "core/office/office_export.h"

namespace paylark {

// The text parts of a Word document that differ from export to export.
struct DocxParts {
  std::string document;  // word/document.xml
  std::string comments;  // word/comments.xml; empty when the document has no comments
};

// Lays the month out as a heading and one table of N + 2 rows: the column headings, one row per
// due (a cell's upper and lower parts are two paragraphs of that cell), and the summary of counts
// and sums. An empty month gives a blank document. The month text is the caller's ("MMMM-yyyy").
DocxParts BuildDocxParts(const OfficeExportRequest& request);

}  // namespace paylark
