#pragma once

#include <string>
#include <string_view>

#include "core/base/status.h"

namespace paylark {

struct BankCsvText {
  std::string text;      // UTF-8, without a byte-order mark
  std::string encoding;  // what the file was in: "UTF-8", "UTF-16", "Windows-1252"
};

// A bank's CSV export as UTF-8. UTF-8 (with or without a byte-order mark) stays as it is, UTF-16
// with a byte-order mark is converted, and any other text is read as Windows-1252 (Latin-1 and
// its Western-European superset, which German and other banks still export in). Bytes that no
// such text holds (NUL, or a byte Windows-1252 leaves unassigned) are refused with a message
// that asks for a UTF-8 export.
Result<BankCsvText> DecodeBankCsvText(std::string_view bytes);

}  // namespace paylark
