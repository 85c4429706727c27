#include "core/statements/bank_csv_column_spec.h"

#include <array>
#include <charconv>
#include <optional>
#include <set>

namespace paylark {
namespace {

constexpr int kMostColumns = 1000;

struct Field {
  std::string_view name;
  std::optional<int> BankCsvColumns::*column;
};

constexpr std::array<Field, 8> kFields = {{
    {"date", &BankCsvColumns::date},
    {"amount", &BankCsvColumns::amount},
    {"debit", &BankCsvColumns::debit},
    {"credit", &BankCsvColumns::credit},
    {"counterparty", &BankCsvColumns::counterparty},
    {"description", &BankCsvColumns::description},
    {"reference", &BankCsvColumns::reference},
    {"mark", &BankCsvColumns::debitCreditMark},
}};

const Field* FieldNamed(std::string_view name) {
  for (const Field& field : kFields) {
    if (field.name == name)
      return &field;
  }
  return nullptr;
}

std::optional<int> ColumnNumber(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 1 ||
      number > kMostColumns)
    return std::nullopt;
  return number;
}

Status Refused(const std::string& why) {
  return Status::InvalidArgument("--columns: " + why);
}

// One "name=N" item into the columns.
Status TakeItem(std::string_view item, BankCsvColumns& columns, std::set<int>& used) {
  const std::size_t equals = item.find('=');
  const Field* field =
      equals == std::string_view::npos ? nullptr : FieldNamed(item.substr(0, equals));
  if (!field) {
    return Refused("\"" + std::string(item) +
                   "\" is not name=column (date, amount, debit, credit, counterparty, "
                   "description, reference, mark)");
  }
  const std::optional<int> number = ColumnNumber(item.substr(equals + 1));
  if (!number)
    return Refused(std::string(field->name) + " needs a column number from 1 to 1000");
  if (columns.*(field->column))
    return Refused(std::string(field->name) + " is given twice");
  if (!used.insert(*number).second)
    return Refused("column " + std::to_string(*number) + " is given twice");
  columns.*(field->column) = *number - 1;
  return Status::Ok();
}

}  // namespace

Result<BankCsvColumns> ParseBankCsvColumns(std::string_view spec) {
  BankCsvColumns columns;
  std::set<int> used;
  while (!spec.empty()) {
    const std::size_t comma = spec.find(',');
    PAYLARK_TRY(TakeItem(spec.substr(0, comma), columns, used));
    spec = comma == std::string_view::npos ? std::string_view{} : spec.substr(comma + 1);
  }
  if (!columns.date)
    return Refused("the date column is needed (date=N)");
  const bool split = columns.debit || columns.credit;
  if (columns.amount ? split : !split)
    return Refused("give either amount=N or debit=N and credit=N");
  if (columns.debitCreditMark && !columns.amount)
    return Refused("mark=N gives the sign of an amount column: it needs amount=N");
  return columns;
}

std::string BankCsvColumnsText(const BankCsvColumns& columns) {
  std::string text;
  for (const Field& field : kFields) {
    if (const std::optional<int>& column = columns.*(field.column)) {
      if (!text.empty())
        text += ',';
      text += std::string(field.name) + '=' + std::to_string(*column + 1);
    }
  }
  return text;
}

}  // namespace paylark
