#include "ui/statements/statement_summary_text.h"

#include "core/base/cents.h"
#include "core/base/format.h"

namespace paylark {

QString StatementSummaryText(const StatementImportSummary& summary, const Statement& statement) {
  QString text =
      (summary.markedPaid == 1 ? QStringLiteral("1 due marked paid")
                               : QStringLiteral("%1 dues marked paid").arg(summary.markedPaid)) +
      QStringLiteral(", %1 added").arg(summary.added);
  if (summary.balanceWritten && statement.closingBalance) {
    const QString account =
        statement.account.empty()
            ? QString()
            : QStringLiteral(" of %1").arg(QString::fromStdString(statement.account));
    text +=
        QStringLiteral(", balance%1 set to %2 on %3")
            .arg(account,
                 QString::fromStdString(FormatAmount(FromCents(statement.closingBalance->amount))),
                 QString::fromStdString(FormatDate(statement.closingBalance->date, "d MMM yyyy")));
  }
  return text + QLatin1Char('.');
}

}  // namespace paylark
