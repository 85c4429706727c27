#pragma once

#include <string>

#include "core/export/docx_document.h"
#include "core/records/ole_date_time.h"
#include "core/records/status.h"

namespace paylark {

// The complete .docx file: the parts zipped with the package's fixed parts (content types,
// relationships, styles). Every entry carries `stamp` as its time, as a wall-clock time, so
// the bytes do not depend on the time zone. A failure's message is the zip library's reason.
Result<std::string> PackDocx(const DocxParts& parts, const OleDateTime& stamp);

}  // namespace paylark
