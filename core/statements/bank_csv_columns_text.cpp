#include "core/statements/bank_csv_columns_text.h"

#include <array>
#include <charconv>
#include <utility>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

using Role = std::optional<int> BankCsvColumns::*;

constexpr std::array<std::pair<std::string_view, Role>, 8> kRoles = {{
    {"date", &BankCsvColumns::date},
    {"amount", &BankCsvColumns::amount},
    {"debit", &BankCsvColumns::debit},
    {"credit", &BankCsvColumns::credit},
    {"counterparty", &BankCsvColumns::counterparty},
    {"description", &BankCsvColumns::description},
    {"reference", &BankCsvColumns::reference},
    {"mark", &BankCsvColumns::debitCreditMark},
}};

Status BadPart(std::string_view part, std::string_view why) {
  return Status::InvalidArgument("In the columns \"" + std::string(part) +
                                 "\": " + std::string(why) +
                                 " (for example date=1,amount=5; roles: date, amount, debit, "
                                 "credit, counterparty, description, reference, mark).");
}

Status ReadPart(std::string_view part, BankCsvColumns& columns) {
  const std::size_t equals = part.find('=');
  if (equals == std::string_view::npos)
    return BadPart(part, "a role and a column are written role=column");
  const std::string_view name = TrimWhiteSpace(part.substr(0, equals));
  const std::string_view number = TrimWhiteSpace(part.substr(equals + 1));
  int column = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), column);
  if (error != std::errc() || end != number.data() + number.size() || column < 1)
    return BadPart(part, "the column is a number from 1");
  for (const auto& [roleName, role] : kRoles) {
    if (roleName != name)
      continue;
    if ((columns.*role).has_value())
      return BadPart(part, "the role is named twice");
    columns.*role = column - 1;
    return Status::Ok();
  }
  return BadPart(part, "there is no such role");
}

}  // namespace

std::string FormatColumnsText(const BankCsvColumns& columns) {
  std::string text;
  for (const auto& [name, role] : kRoles) {
    if (const std::optional<int>& column = columns.*role) {
      text += text.empty() ? "" : ",";
      text.append(name).append("=").append(std::to_string(*column + 1));
    }
  }
  return text;
}

Result<BankCsvColumns> ParseColumnsText(std::string_view text) {
  BankCsvColumns columns;
  while (!TrimWhiteSpace(text).empty()) {
    const std::size_t comma = text.find(',');
    PAYLARK_TRY(ReadPart(text.substr(0, comma), columns));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return columns;
}

}  // namespace paylark
