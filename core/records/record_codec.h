#pragma once

#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/records/due_record.h"
#include "core/records/due_view.h"

namespace paylark {

// The bytes of a record file: the eleven fields in file order (see docs/record-format.md), then
// the extension block when the record has payment details or kept extension bytes.
std::string EncodeRecord(const DueRecord& record);

// Reads a record file's bytes. Bytes after the eleventh field are the extension block: when they
// cannot be read, the record still decodes and keeps them in damagedExtension (CheckExtension
// says why), so that nothing is lost. A file that ends
// early, whose length prefix runs past its end, whose dates or amount are not finite numbers, or
// whose record ID is not a plain token is Corrupt. Text is returned as UTF-8.
Result<DueRecord> DecodeRecord(std::string_view bytes);
// The same without copying texts that are UTF-8 already: `view` points into `bytes` and into
// `held`, which holds the converted texts and the payment details.
Status ReadRecordView(std::string_view bytes, DueView& view, DueRecord& held);

// A record ID that can name a file inside the records folder: not empty once trimmed, no path
// separator, no "..", no control character.
bool IsPlainRecordId(std::string_view recordId);

// The record ID without leading and trailing white space, as used in file names.
std::string_view TrimmedRecordId(std::string_view recordId);

}  // namespace paylark
