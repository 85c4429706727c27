#include "core/print/print_page.h"

#include <array>
#include <utility>

#include "core/base/amount_sum.h"
#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/export/html_text.h"
#include "core/export/template_text.h"
#include "core/records/payment.h"

namespace paylark {
namespace {

constexpr std::string_view kHeaderStart = "<{[headerstart]}>";
constexpr std::string_view kHeaderEnd = "<{[headerend]}>";
constexpr std::string_view kFooterStart = "<{[footerstart]}>";
constexpr std::string_view kFooterEnd = "<{[footerend]}>";
constexpr std::string_view kHeaderLeft = "<{[headerleft]}>";
constexpr std::string_view kHeaderCenter = "<{[headercenter]}>";
constexpr std::string_view kHeaderRight = "<{[headerright]}>";

std::array<Substitution, 10> RecordValues(const DueRecord& record, int number) {
  constexpr std::string_view kDatePicture = "dd MMM, yyyy";
  return {{
      {"<{[snumber]}>", std::to_string(number) + "."},
      {"<{[icon]}>", std::string(IsSeriesMember(record) ? kSeriesIconName : kIconName)},
      {"<{[duetitle]}>", HtmlEscaped(record.title)},
      {"<{[startdate]}>", HtmlEscaped(FormatDate(record.startDate, kDatePicture))},
      {"<{[duedate]}>", HtmlEscaped(FormatDate(record.dueDate, kDatePicture))},
      {"<{[payee]}>", HtmlEscaped(record.payTo)},
      {"<{[account]}>", HtmlEscaped(record.account)},
      {"<{[duetype]}>", std::string(TypeText(record.type))},
      {"<{[status]}>", HtmlEscaped(StatusText(record))},
      {"<{[amount]}>", HtmlEscaped(FormatAmount(ListedAmount(record)))},
  }};
}

// Cuts a section out of the template: every occurrence of its text goes, its markers stay.
std::string CutSection(std::string& text, std::string_view start, std::string_view end) {
  std::string section = SectionBetween(text, start, end);
  RemoveAll(text, section);
  return section;
}

Status TooLarge() {
  return Status::InvalidArgument(MessageText(MessageId::kDocumentTooLarge));
}

}  // namespace

std::string MonthRangeText(const OleDateTime& from, const OleDateTime& to) {
  const std::string fromText = FormatDate(from, "MMM/yyyy");
  if (CompareMonth(from, to) == 0)
    return " " + fromText + " ";
  return fromText + " - " + FormatDate(to, "MMM/yyyy");
}

Result<std::string> RenderPrintPage(std::string_view templateText,
                                    std::span<const DueRecord> checked, const OleDateTime& from,
                                    const OleDateTime& to) {
  std::string text(templateText);
  const std::string recordSection = CutSection(text, kLoopStart, kLoopEnd);
  std::string header = CutSection(text, kHeaderStart, kHeaderEnd);
  std::string footer = CutSection(text, kFooterStart, kFooterEnd);

  const std::array<Substitution, 3> headerValues = {
      {{kHeaderRight, ""},
       {kHeaderLeft, "Due Date Details"},
       {kHeaderCenter, HtmlEscaped(MonthRangeText(from, to))}}};
  if (!ReplaceEach(header, headerValues))
    return TooLarge();
  for (const std::string_view placeholder : {kHeaderRight, kHeaderLeft, kHeaderCenter}) {
    RemoveAll(footer, placeholder);
  }

  AmountSum paid;
  AmountSum unpaid;
  int number = 0;
  LoopExpansion expansion(text);
  for (const DueRecord& record : checked) {
    ++number;
    // The sums are the status bar's: what was paid, and bills only.
    if (!IsIncome(record)) {
      paid.Add(PaidShare(record));
      unpaid.Add(LeftCents(record));
    }
    if (!expansion.HasMarker())
      continue;
    std::string copy = recordSection;
    if (!ReplaceEach(copy, RecordValues(record, number)) || !expansion.Expand(copy))
      return TooLarge();
  }

  text = std::move(expansion).Text();
  const std::array<Substitution, 5> pageValues = {{
      {"<{[paidamount]}>", FormatAmount(FromCents(paid.cents()))},
      {"<{[unpaidamount]}>", FormatAmount(FromCents(unpaid.cents()))},
      {"<{[totalamount]}>", FormatAmount(FromCents((unpaid + paid).cents()))},
      {kHeaderStart, std::move(header)},
      {kFooterStart, std::move(footer)},
  }};
  if (!ReplaceEach(text, pageValues))
    return TooLarge();
  for (const std::string_view marker :
       {kHeaderRight, kHeaderLeft, kHeaderCenter, std::string_view("<{[footerleft]}>"),
        std::string_view("<{[footerright]}>"), std::string_view("<{[footercenter]}>"), kLoopStart,
        kLoopEnd, kHeaderStart, kHeaderEnd, kFooterStart, kFooterEnd}) {
    RemoveAll(text, marker);
  }
  return text;
}

}  // namespace paylark
