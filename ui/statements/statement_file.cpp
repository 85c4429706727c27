#include "ui/statements/statement_file.h"

#include <QFile>
#include <QFileInfo>

#include "core/base/messages.h"
#include "core/statements/statement_reading.h"
#include "ui/statements/statement_reader.h"

namespace paylark {
namespace {

// Enough of the file's start to tell its format.
constexpr qint64 kHeadSize = 4096;

}  // namespace

std::optional<StatementFile> OpenStatementFile(const QString& path,
                                               const StatementServices& services,
                                               const TellUser& tell) {
  StatementFile opened;
  opened.path = path;
  opened.fileName = QFileInfo(path).fileName();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    tell(QString::fromStdString(MessageText(
        {MessageId::kFileReadFailed, path.toStdString(), 0, file.errorString().toStdString()})));
    return std::nullopt;
  }
  if (file.size() > static_cast<qint64>(kStatementFileLimit)) {
    tell(QStringLiteral("%1 is larger than 64 MiB: no bank statement is, so it was not read.")
             .arg(opened.fileName));
    return std::nullopt;
  }
  const QByteArray head = file.peek(kHeadSize);
  const std::optional<StatementFormat> format = services.detectFormat(
      std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
  if (!format) {
    tell(QStringLiteral("%1 is not a bank statement that Paylark reads (OFX, QFX, CAMT.053 or a "
                        "bank's CSV export).")
             .arg(opened.fileName));
    return std::nullopt;
  }
  opened.format = *format;
  if (opened.format == StatementFormat::kCsv)
    opened.csvText = file.readAll();
  return opened;
}

std::optional<Statement> ReadOpenedStatement(StatementReader& reader, const StatementFile& file,
                                             const std::optional<BankCsvColumns>& columns,
                                             const StatementServices& services,
                                             const TellUser& tell) {
  std::optional<Result<Statement>> read = reader.Run(
      file.fileName, [read = services.read, path = file.path.toStdString(), format = file.format,
                      columns] { return read(path, format, columns); });
  if (!read)
    return std::nullopt;
  if (!read->ok()) {
    tell(QString::fromStdString(read->status().message()));
    return std::nullopt;
  }
  return std::move(*read).value();
}

}  // namespace paylark
