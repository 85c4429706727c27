#pragma once

#include <QString>
#include <span>
#include <string>
#include <vector>

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"

namespace paylark {

// Where printing reads its template and writes "print.html" with its two pictures.
struct PrintPlaces {
  std::vector<std::string> templateFolders;  // searched in order, file by file
  QString pageFolder;
};

// The template folders, and $XDG_CACHE_HOME/paylark for the page.
PrintPlaces DefaultPrintPlaces();

struct RenderedPage {
  std::string html;  // what the engine produced; empty when the template is missing
  QString path;      // where the page was (or should have been) written
  QString problem;   // empty, or what the user must be told went wrong
};

// Renders the checked dues through the print template and writes the page beside copies of
// "icon.bmp" and "recicon.bmp". A missing template renders an empty page. A page that cannot be
// written is still returned, with the reason in problem.
RenderedPage RenderPrintFile(const PrintPlaces& places, std::span<const DueRecord> checked,
                             const OleDateTime& from, const OleDateTime& to);

}  // namespace paylark
