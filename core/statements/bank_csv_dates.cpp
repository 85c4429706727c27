#include "core/statements/bank_csv_dates.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

using Order = BankDateForm::Order;

constexpr std::array kForms = {
    BankDateForm{Order::kYearMonthDay, '-', 4}, BankDateForm{Order::kDayMonthYear, '.', 4},
    BankDateForm{Order::kDayMonthYear, '/', 4}, BankDateForm{Order::kMonthDayYear, '/', 4},
    BankDateForm{Order::kDayMonthYear, '-', 4}, BankDateForm{Order::kMonthDayYear, '-', 4},
    BankDateForm{Order::kYearMonthDay, '/', 4}, BankDateForm{Order::kYearMonthDay, '.', 4},
    BankDateForm{Order::kDayMonthYear, '.', 2}, BankDateForm{Order::kDayMonthYear, '/', 2},
    BankDateForm{Order::kMonthDayYear, '/', 2}, BankDateForm{Order::kDayMonthYear, '-', 2},
};

struct DateParts {
  int day = 0;
  int month = 0;
  int year = 0;
};

bool ReadNumber(std::string_view text, std::size_t minDigits, std::size_t maxDigits, int& value) {
  if (text.size() < minDigits || text.size() > maxDigits)
    return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// The three parts in the form's shape, before any check that they make a date.
std::optional<DateParts> SplitDate(std::string_view text, const BankDateForm& form) {
  text = TrimWhiteSpace(text);
  // A time after the date: "03.11.2026 10:15", "2026-11-03T10:15:00".
  if (const std::size_t time = text.find_first_of(" T"); time != std::string_view::npos)
    text = text.substr(0, time);
  const std::size_t first = text.find(form.separator);
  const std::size_t second =
      first == std::string_view::npos ? first : text.find(form.separator, first + 1);
  if (second == std::string_view::npos)
    return std::nullopt;
  const std::string_view parts[3] = {
      text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
  const std::size_t yearAt = form.order == Order::kYearMonthDay ? 0 : 2;
  const std::size_t dayAt = form.order == Order::kDayMonthYear ? 0 : (yearAt == 0 ? 2 : 1);
  const std::size_t monthAt = 3 - yearAt - dayAt;
  const auto yearDigits = static_cast<std::size_t>(form.yearDigits);
  DateParts date;
  if (!ReadNumber(parts[yearAt], yearDigits, yearDigits, date.year) ||
      !ReadNumber(parts[monthAt], 1, 2, date.month) || !ReadNumber(parts[dayAt], 1, 2, date.day))
    return std::nullopt;
  if (form.yearDigits == 2)
    date.year += 2000;
  return date;
}

std::optional<OleDateTime> MakeDate(const DateParts& parts) {
  if (parts.month < 1 || parts.month > 12 || parts.day < 1)
    return std::nullopt;
  return OleDateTime::FromCivil(parts.year, parts.month, parts.day);
}

// How far the column is from date order, either way: the smaller count of steps up or down.
std::size_t Disorder(const std::vector<std::string>& column, const BankDateForm& form) {
  std::size_t up = 0;
  std::size_t down = 0;
  std::optional<OleDateTime> previous;
  for (const std::string& field : column) {
    const std::optional<OleDateTime> date = ParseBankDate(field, form);
    if (!date)
      continue;
    if (previous && *date > *previous)
      ++up;
    else if (previous && *date < *previous)
      ++down;
    previous = date;
  }
  return std::min(up, down);
}

struct FormVote {
  std::size_t fields = 0;
  bool ruledOut = false;
  const std::vector<std::string>* firstColumn = nullptr;
};

FormVote CountVotes(const std::vector<std::vector<std::string>>& columns,
                    const BankDateForm& form) {
  FormVote vote;
  for (const std::vector<std::string>& column : columns) {
    std::size_t shaped = 0;
    bool allShaped = true;
    for (const std::string& field : column) {
      if (!HasDigit(field))
        continue;  // empty, or a label such as "Kontostand" in a bank's closing line
      const std::optional<DateParts> parts = SplitDate(field, form);
      allShaped = allShaped && parts.has_value();
      if (parts && !MakeDate(*parts))
        vote.ruledOut = true;
      shaped += parts ? 1 : 0;
    }
    if (allShaped && shaped > 0) {
      vote.fields += shaped;
      if (!vote.firstColumn)
        vote.firstColumn = &column;
    }
  }
  return vote;
}

}  // namespace

bool HasDigit(std::string_view text) {
  return text.find_first_of("0123456789") != std::string_view::npos;
}

std::string BankDateForm::Name() const {
  const std::string year(static_cast<std::size_t>(yearDigits), 'y');
  const std::string sep(1, separator);
  switch (order) {
    case Order::kDayMonthYear:
      return "dd" + sep + "mm" + sep + year;
    case Order::kMonthDayYear:
      return "mm" + sep + "dd" + sep + year;
    case Order::kYearMonthDay:
      break;
  }
  return year + sep + "mm" + sep + "dd";
}

std::optional<BankDateForm> BankDateForm::FromName(std::string_view name) {
  for (const BankDateForm& form : kForms) {
    if (form.Name() == name)
      return form;
  }
  return std::nullopt;
}

std::optional<OleDateTime> ParseBankDate(std::string_view text, const BankDateForm& form) {
  const std::optional<DateParts> parts = SplitDate(text, form);
  return parts ? MakeDate(*parts) : std::nullopt;
}

std::optional<BankDateForm> DetectBankDateForm(
    const std::vector<std::vector<std::string>>& columns) {
  std::optional<BankDateForm> best;
  FormVote bestVote;
  std::size_t bestDisorder = 0;
  for (const BankDateForm& form : kForms) {
    const FormVote vote = CountVotes(columns, form);
    if (vote.ruledOut || vote.fields == 0 || vote.fields < bestVote.fields)
      continue;
    const std::size_t disorder = Disorder(*vote.firstColumn, form);
    if (best && vote.fields == bestVote.fields && disorder >= bestDisorder)
      continue;
    best = form;
    bestVote = vote;
    bestDisorder = disorder;
  }
  return best;
}

}  // namespace paylark
