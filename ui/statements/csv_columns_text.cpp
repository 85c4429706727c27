#include "ui/statements/csv_columns_text.h"

#include <QStringList>
#include <array>

namespace paylark {
namespace {

struct Role {
  const char* name;
  std::optional<int> BankCsvColumns::*column;
};

constexpr std::array<Role, 7> kRoles{{{"date", &BankCsvColumns::date},
                                      {"amount", &BankCsvColumns::amount},
                                      {"debit", &BankCsvColumns::debit},
                                      {"credit", &BankCsvColumns::credit},
                                      {"counterparty", &BankCsvColumns::counterparty},
                                      {"description", &BankCsvColumns::description},
                                      {"reference", &BankCsvColumns::reference}}};

const Role* FindRole(const QString& name) {
  for (const Role& role : kRoles) {
    if (name == QLatin1String(role.name))
      return &role;
  }
  return nullptr;
}

}  // namespace

QString CsvColumnsText(const BankCsvColumns& columns) {
  QStringList parts;
  for (const Role& role : kRoles) {
    if (const std::optional<int>& column = columns.*role.column)
      parts << QStringLiteral("%1=%2").arg(QLatin1String(role.name)).arg(*column + 1);
  }
  return parts.join(QLatin1Char(','));
}

std::optional<BankCsvColumns> ParseCsvColumnsText(const QString& text) {
  BankCsvColumns columns;
  for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const Role* role = FindRole(part.section(QLatin1Char('='), 0, 0).trimmed());
    bool number = false;
    const int column = part.section(QLatin1Char('='), 1).trimmed().toInt(&number);
    if (!role || !number || column < 1 || (columns.*role->column).has_value())
      return std::nullopt;
    columns.*role->column = column - 1;
  }
  return columns;
}

}  // namespace paylark
