#include "settings/statement_settings.h"

#include <QString>
#include <QStringList>

#include "core/statements/bank_csv_columns_text.h"
#include "settings/user_settings.h"

namespace paylark {
namespace {

constexpr double kTenthsOfAPercent = 1000.0;

// The kept lines, "<columns>\t<header line>", one per header line.
QStringList KeptLines() {
  return UserSettings::Read(settings::kBankCsvColumns).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString HeaderOf(const QString& line) {
  return line.section(QLatin1Char('\t'), 1);
}

}  // namespace

MatchOptions ReadMatchOptions() {
  return {UserSettings::Read(settings::kStatementDaysBefore),
          UserSettings::Read(settings::kStatementDaysAfter),
          UserSettings::Read(settings::kStatementTolerance) / kTenthsOfAPercent};
}

std::optional<BankCsvColumns> RememberedBankCsvColumns(const std::string& headerLine) {
  const QString header = QString::fromStdString(headerLine);
  for (const QString& line : KeptLines()) {
    if (HeaderOf(line) != header)
      continue;
    Result<BankCsvColumns> columns =
        ParseColumnsText(line.section(QLatin1Char('\t'), 0, 0).toStdString());
    if (columns.ok())
      return columns.value();
  }
  return std::nullopt;
}

void RememberBankCsvColumns(const std::string& headerLine, const BankCsvColumns& columns) {
  if (headerLine.find_first_of("\r\n") != std::string::npos)
    return;
  const QString header = QString::fromStdString(headerLine);
  QStringList lines = KeptLines();
  lines.removeIf([&](const QString& line) { return HeaderOf(line) == header; });
  lines.append(QString::fromStdString(FormatColumnsText(columns)) + QLatin1Char('\t') + header);
  UserSettings::Write(settings::kBankCsvColumns, lines.join(QLatin1Char('\n')));
}

}  // namespace paylark
