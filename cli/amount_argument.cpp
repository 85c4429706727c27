#include "cli/amount_argument.h"

#include "core/base/field_parsing.h"
#include "core/base/locale_amount.h"

namespace paylark::cli {

std::variant<double, Message> ParseAmountArgument(std::string_view text) {
  std::variant<double, Message> parsed = ParseAmount(text);
  if (const auto* refusal = std::get_if<Message>(&parsed);
      refusal && refusal->id == MessageId::kEnterNumber) {
    std::variant<double, Message> local = ParseLocaleAmount(text, LocaleAmountMarks());
    if (!std::holds_alternative<Message>(local) ||
        std::get<Message>(local).id != MessageId::kEnterNumber)
      return local;
  }
  return parsed;
}

}  // namespace paylark::cli
