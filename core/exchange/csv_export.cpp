#include "core/exchange/csv_export.h"

#include <cstdio>

#include "core/base/cents.h"
#include "core/base/format.h"
#include "core/exchange/csv_text.h"
#include "core/records/month_selection.h"
#include "core/records/payment.h"

namespace paylark {

std::string CsvDateTime(const OleDateTime& dateTime) {
  if (!dateTime.IsValid())
    return {};
  const CivilDateTime c = dateTime.ToCivil();
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return text;
}

std::string RenderCsv(std::vector<DueRecord> dues) {
  SortByDueDate(dues);
  std::string out(kCsvHeader);
  out += "\r\n";
  for (const DueRecord& due : dues) {
    const std::string amount = FormatAmountNumber(due.amount);
    const std::string dueDate = CsvDateTime(due.dueDate);
    const std::string startDate = CsvDateTime(due.startDate);
    const std::string title = CsvLineText(due.title);
    const std::string payTo = CsvLineText(due.payTo);
    const std::string account = CsvLineText(due.account);
    const std::string notes = CsvSafeText(due.notes);
    const std::string paidOn = due.paidOn ? CsvDateTime(*due.paidOn) : std::string();
    // A due paid in parts gives what its parts add up to.
    const std::string paidAmount =
        due.paidAmount ? FormatAmountNumber(FromCents(PaidShare(due))) : std::string();
    const std::string reference = CsvLineText(due.paymentReference);
    AppendCsvRow(
        out, {due.recordId, title, payTo, account, amount, dueDate, startDate, TypeText(due.type),
              PaidText(due.paid), due.seriesId, notes, paidOn, paidAmount, reference});
  }
  return out;
}

}  // namespace paylark
