#include "core/base/locale_currency.h"

#include <langinfo.h>

#include <string_view>

namespace paylark {

std::string LocaleCurrencyCode() {
  // INT_CURR_SYMBOL is the code followed by its separator ("EUR "); C gives an empty text.
  const std::string_view symbol = nl_langinfo(INT_CURR_SYMBOL);
  return symbol.size() >= 3 ? std::string(symbol.substr(0, 3)) : std::string();
}

}  // namespace paylark
