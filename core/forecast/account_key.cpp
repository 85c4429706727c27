#include "core/forecast/account_key.h"

#include "core/base/text_encoding.h"
#include "core/records/due_search.h"

namespace paylark {

std::string AccountKey(std::string_view account) {
  return FoldLetterCase(TrimWhiteSpace(account));
}

}  // namespace paylark
