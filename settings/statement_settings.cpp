#include "settings/statement_settings.h"

#include <QString>
#include <QStringList>

#include "core/statements/bank_csv_columns_text.h"
#include "settings/user_settings.h"

namespace paylark {
namespace {

constexpr double kTenthsOfAPercent = 1000.0;

// The kept lines, "<value>\t<header line>", one per header line.
QStringList KeptLines(const settings::TextSetting& setting) {
  return UserSettings::Read(setting).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString HeaderOf(const QString& line) {
  return line.section(QLatin1Char('\t'), 1);
}

std::optional<QString> KeptFor(const settings::TextSetting& setting,
                               const std::string& headerLine) {
  const QString header = QString::fromStdString(headerLine);
  for (const QString& line : KeptLines(setting)) {
    if (HeaderOf(line) == header)
      return line.section(QLatin1Char('\t'), 0, 0);
  }
  return std::nullopt;
}

void Keep(const settings::TextSetting& setting, const std::string& headerLine,
          const QString& value) {
  if (headerLine.find_first_of("\r\n") != std::string::npos || value.contains(QLatin1Char('\t')) ||
      value.contains(QLatin1Char('\n')))
    return;
  const QString header = QString::fromStdString(headerLine);
  QStringList lines = KeptLines(setting);
  lines.removeIf([&](const QString& line) { return HeaderOf(line) == header; });
  lines.append(value + QLatin1Char('\t') + header);
  UserSettings::Write(setting, lines.join(QLatin1Char('\n')));
}

}  // namespace

MatchOptions ReadMatchOptions() {
  return {UserSettings::Read(settings::kStatementDaysBefore),
          UserSettings::Read(settings::kStatementDaysAfter),
          UserSettings::Read(settings::kStatementTolerance) / kTenthsOfAPercent};
}

std::optional<BankCsvColumns> RememberedBankCsvColumns(const std::string& headerLine) {
  const std::optional<QString> kept = KeptFor(settings::kBankCsvColumns, headerLine);
  if (!kept)
    return std::nullopt;
  Result<BankCsvColumns> columns = ParseColumnsText(kept->toStdString());
  if (!columns.ok())
    return std::nullopt;
  return columns.value();
}

void RememberBankCsvColumns(const std::string& headerLine, const BankCsvColumns& columns) {
  Keep(settings::kBankCsvColumns, headerLine, QString::fromStdString(FormatColumnsText(columns)));
}

std::optional<std::string> RememberedBankCsvAccount(const std::string& headerLine) {
  const std::optional<QString> kept = KeptFor(settings::kBankCsvAccounts, headerLine);
  if (!kept)
    return std::nullopt;
  return kept->toStdString();
}

void RememberBankCsvAccount(const std::string& headerLine, const std::string& account) {
  Keep(settings::kBankCsvAccounts, headerLine, QString::fromStdString(account));
}

}  // namespace paylark
