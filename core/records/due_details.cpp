#include "core/records/due_details.h"

#include "core/base/format.h"
#include "core/records/notice_period.h"
#include "core/records/payment.h"

namespace paylark {

std::string DateAndTimeText(const OleDateTime& dateTime) {
  return FormatDate(dateTime, "") + " " + FormatTime(dateTime, "");
}

std::string SeriesPositionText(const std::optional<SeriesPosition>& position) {
  if (!position)
    return {};
  return std::to_string(position->position) + " of " + std::to_string(position->count);
}

std::vector<DetailRow> PaymentDetails(const DueRecord& record) {
  std::vector<DetailRow> rows;
  if (record.paidOn)
    rows.push_back({kPaidOnHeading, DateAndTimeText(*record.paidOn)});
  if (record.paidAmount && *record.paidAmount != record.amount)
    rows.push_back({kPaidAmountHeading, FormatAmount(*record.paidAmount)});
  if (!record.paymentReference.empty())
    rows.push_back({kReferenceHeading, record.paymentReference});
  if (!record.payeeAccount.empty())
    rows.push_back({kPayeeAccountHeading, record.payeeAccount});
  if (!record.creditorReference.empty())
    rows.push_back({kPayeeReferenceHeading, record.creditorReference});
  return rows;
}

std::vector<DetailRow> ContractDetails(const DueRecord& record, const OleDateTime& today) {
  std::vector<DetailRow> rows;
  if (const std::optional<CancelBy> cancelBy = NextCancelBy(record, today)) {
    rows.push_back({kRenewsOnHeading, FormatDate(cancelBy->renewsOn, "")});
    rows.push_back({kCancelByHeading, CancelByText(*cancelBy)});
  }
  return rows;
}

std::array<DetailRow, 8> DueDetails(const DueRecord& r) {
  const std::string values[8] = {
      r.title,   DateAndTimeText(r.startDate), DateAndTimeText(r.dueDate),    r.payTo,
      r.account, FormatAmount(r.amount),       std::string(TypeText(r.type)), StatusText(r)};
  std::array<DetailRow, 8> rows;
  for (std::size_t i = 0; i < rows.size(); ++i)
    rows[i] = {kDetailHeadings[i], values[i]};
  return rows;
}

}  // namespace paylark
