#include "core/statements/bank_csv_columns_spec.h"

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

Status BadSpec(std::string_view part, std::string_view why) {
  return Status::InvalidArgument("In the columns \"" + std::string(part) +
                                 "\": " + std::string(why) +
                                 " (for example date=1,amount=5; roles: date, amount, debit, "
                                 "credit, counterparty, description, reference, mark).");
}

Status ReadPart(std::string_view part, BankCsvColumns& columns) {
  const std::size_t equals = part.find('=');
  if (equals == std::string_view::npos)
    return BadSpec(part, "a role and a column are written role=column");
  const std::string_view name = TrimWhiteSpace(part.substr(0, equals));
  const std::string_view number = TrimWhiteSpace(part.substr(equals + 1));
  int column = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), column);
  if (error != std::errc() || end != number.data() + number.size() || column < 1)
    return BadSpec(part, "the column is a number from 1");
  for (const auto& [roleName, role] : kRoles) {
    if (roleName != name)
      continue;
    if ((columns.*role).has_value())
      return BadSpec(part, "the role is named twice");
    columns.*role = column - 1;
    return Status::Ok();
  }
  return BadSpec(part, "there is no such role");
}

}  // namespace

std::string FormatColumnsSpec(const BankCsvColumns& columns) {
  std::string spec;
  for (const auto& [name, role] : kRoles) {
    if (const std::optional<int>& column = columns.*role) {
      spec += spec.empty() ? "" : ",";
      spec.append(name).append("=").append(std::to_string(*column + 1));
    }
  }
  return spec;
}

Result<BankCsvColumns> ParseColumnsSpec(std::string_view spec) {
  BankCsvColumns columns;
  while (!TrimWhiteSpace(spec).empty()) {
    const std::size_t comma = spec.find(',');
    PAYLARK_TRY(ReadPart(spec.substr(0, comma), columns));
    spec = comma == std::string_view::npos ? std::string_view() : spec.substr(comma + 1);
  }
  return columns;
}

}  // namespace paylark
