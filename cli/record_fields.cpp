#include "cli/record_fields.h"

#include <algorithm>
#include <charconv>
#include <variant>

#include "cli/amount_argument.h"
#include "cli/date_time_text.h"
#include "core/records/notice_period.h"

namespace paylark::cli {
namespace {

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Notes are stored with CR LF line breaks, whatever the shell passed.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
      out += '\r';
    out += text[i];
  }
  return out;
}

std::optional<std::string> TakeDate(Arguments& arguments, const char* name, OleDateTime& date) {
  const auto text = arguments.TakeValue(name);
  if (!text)
    return std::nullopt;
  const auto parsed = ParseDateTime(*text, DateOnly::kStartOfDay);
  if (!parsed)
    return std::string(name) + " needs a date as YYYY-MM-DD[ HH:MM[:SS]]";
  date = *parsed;
  return std::nullopt;
}

// "3 months", "1 week": a count from 1 to 9999 and a unit.
std::optional<NoticePeriod> ParseNotice(const std::string& text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string::npos)
    return std::nullopt;
  int count = 0;
  const std::string_view digits(text.data(), blank);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
  const std::optional<NoticeUnit> unit = NoticeUnitNamed(text.substr(blank + 1));
  if (error != std::errc() || end != digits.data() + digits.size() || count < 1 || count > 9999 ||
      !unit)
    return std::nullopt;
  return NoticePeriod{*unit, count};
}

// --renews-on and --notice: the contract's renewal (or end) and the notice it needs.
std::optional<std::string> TakeContract(Arguments& arguments, DueRecord& record) {
  if (auto renewsOn = arguments.TakeValue("--renews-on")) {
    if (renewsOn->empty()) {
      record.renewsOn.reset();
    } else {
      const auto parsed = ParseDateTime(*renewsOn, DateOnly::kStartOfDay);
      if (!parsed)
        return "--renews-on needs a date as YYYY-MM-DD";
      record.renewsOn = parsed->DateOnly();
    }
  }
  if (auto notice = arguments.TakeCountAndUnit("--notice")) {
    if (notice->empty()) {
      record.noticePeriod = {};
    } else {
      const std::optional<NoticePeriod> period = ParseNotice(*notice);
      if (!period)
        return "--notice needs a count from 1 to 9999 and days, weeks or months";
      record.noticePeriod = *period;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> TakeRecordFields(Arguments& arguments, DueRecord& record) {
  if (auto title = arguments.TakeValue("--title"))
    record.title = *title;
  if (auto payTo = arguments.TakeValue("--pay-to"))
    record.payTo = *payTo;
  if (auto account = arguments.TakeValue("--account"))
    record.account = *account;
  if (auto notes = arguments.TakeValue("--notes"))
    record.notes = WithCrLf(*notes);
  if (auto problem = TakeDate(arguments, "--start", record.startDate))
    return problem;
  if (auto problem = TakeDate(arguments, "--due", record.dueDate))
    return problem;
  if (auto amount = arguments.TakeValue("--amount")) {
    const auto parsed = ParseAmountArgument(*amount);
    if (const auto* message = std::get_if<Message>(&parsed))
      return MessageText(*message);
    record.amount = std::get<double>(parsed);
  }
  if (auto type = arguments.TakeValue("--type")) {
    const std::string lowered = Lowered(*type);
    const auto entry = std::find_if(kTypeTable.begin(), kTypeTable.end(), [&](const TypeEntry& e) {
      return Lowered(std::string(e.text)) == lowered;
    });
    if (entry == kTypeTable.end())
      return "--type must be business, personal or income";
    record.type = entry->value;
  }
  if (auto problem = TakeContract(arguments, record))
    return problem;
  const bool paid = arguments.TakeFlag("--paid");
  const bool unpaid = arguments.TakeFlag("--unpaid");
  if (paid && unpaid)
    return "--paid and --unpaid exclude each other";
  if (paid)
    record.paid = 1;
  if (unpaid)
    record.paid = 0;
  return std::nullopt;
}

}  // namespace paylark::cli
