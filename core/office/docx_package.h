#pragma once

#include <string>

#include "core/base/ole_date_time.h"
#include "core/base/status.h"
#include "core/office/docx_document.h"

namespace paylark {

// The complete .docx file: the parts zipped with the package's fixed parts (content types,
// relationships, styles). Every entry carries `stamp` as its time, as a wall-clock time, so
// the bytes do not depend on the time zone. A failure's message is the zip library's reason.
Result<std::string> PackDocx(const DocxParts& parts, const OleDateTime& stamp);

}  // namespace paylark
