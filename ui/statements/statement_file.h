#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <string_view>

#include "ui/statements/statement_services.h"

namespace paylark {

class StatementReader;

// A file chosen as a bank statement: opened and its format known, not read yet.
struct StatementFile {
  QString path;
  QString fileName;
  StatementFormat format = StatementFormat::kOfx;
  QByteArray csvText;  // a bank CSV's whole text, to find its columns in; empty for the others

  std::string_view CsvText() const {
    return {csvText.constData(), static_cast<std::size_t>(csvText.size())};
  }
};

using TellUser = std::function<void(const QString& text)>;

// Opens the file and tells its format from its first bytes. One that cannot be opened, is
// larger than any bank statement or is none that Paylark reads is told, and gives nothing.
std::optional<StatementFile> OpenStatementFile(const QString& path,
                                               const StatementServices& services,
                                               const TellUser& tell);

// Reads the statement behind the reader's progress dialog; a failed read is told, and a
// cancelled one gives nothing without a word.
std::optional<Statement> ReadOpenedStatement(StatementReader& reader, const StatementFile& file,
                                             const std::optional<BankCsvColumns>& columns,
                                             const StatementServices& services,
                                             const TellUser& tell);

}  // namespace paylark
