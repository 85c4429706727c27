#include "core/statements/statement_amount.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/base/amount_limit.h"
#include "core/base/text_encoding.h"

namespace paylark {
namespace {

// Whole units past the limit: more digits change nothing, and nothing overflows.
constexpr Cents kBeyondLimit = kMaxAmountCents / 100 + 1;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Currency names and signs around the number: "EUR", "USD", "€", "$", "£".
std::string_view WithoutCurrency(std::string_view text) {
  static constexpr std::string_view kSigns[] = {"EUR",    "USD", "GBP",   "CHF",
                                                "\u20ac", "$",   "\u00a3"};
  for (bool changed = true; changed;) {
    changed = false;
    text = TrimWhiteSpace(text);
    for (const std::string_view sign : kSigns) {
      if (text.starts_with(sign)) {
        text.remove_prefix(sign.size());
        changed = true;
      } else if (text.ends_with(sign)) {
        text.remove_suffix(sign.size());
        changed = true;
      }
    }
  }
  return text;
}

// Takes one sign from the front or the back ("-", "+", "12,50-", "(12.50)"); true when negative.
bool TakeSign(std::string_view& text) {
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    text = TrimWhiteSpace(text.substr(1, text.size() - 2));
    return true;
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  } else if (!text.empty() && (text.back() == '-' || text.back() == '+')) {
    negative = text.back() == '-';
    text.remove_suffix(1);
  }
  text = WithoutCurrency(text);
  return negative;
}

std::string IsoDay(const OleDateTime& date) {
  const CivilDateTime c = date.ToCivil();
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
  return text;
}

// No-break spaces, which group thousands in some exports, as plain blanks.
std::string PlainBlanks(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  while (!text.empty()) {
    if (text.starts_with("\u00a0") || text.starts_with("\u202f")) {
      plain += ' ';
      text.remove_prefix(text.starts_with("\u00a0") ? 2 : 3);
    } else {
      plain += text.front();
      text.remove_prefix(1);
    }
  }
  return plain;
}

}  // namespace

std::optional<Cents> ParseStatementAmount(std::string_view original, char decimalMark) {
  const std::string plain = PlainBlanks(original);
  std::string_view text = WithoutCurrency(plain);
  const bool negative = TakeSign(text);
  Cents whole = 0;
  Cents fraction = 0;
  int fractionDigits = 0;
  bool inFraction = false;
  bool sawDigit = false;
  bool roundUp = false;
  for (const char c : text) {
    if (IsDigit(c)) {
      sawDigit = true;
      if (!inFraction) {
        whole = std::min(whole * 10 + (c - '0'), kBeyondLimit);
      } else if (fractionDigits < 2) {
        fraction = fraction * 10 + (c - '0');
        ++fractionDigits;
      } else if (fractionDigits++ == 2) {
        roundUp = c >= '5';
      }
    } else if (c == decimalMark && !inFraction) {
      inFraction = true;
    } else if (inFraction || (c != '.' && c != ',' && c != ' ' && c != '\'')) {
      return std::nullopt;
    }
  }
  if (!sawDigit)
    return std::nullopt;
  if (fractionDigits == 1)
    fraction *= 10;
  const Cents cents = whole * 100 + fraction + (roundUp ? 1 : 0);
  return negative ? -cents : cents;
}

Status CheckStatementAmounts(const Statement& statement) {
  for (const StatementTransaction& transaction : statement.transactions) {
    if (!CentsWithinLimit(transaction.amount))
      return Status::InvalidArgument(
          AmountBeyondLimitText("the booking of " + IsoDay(transaction.bookingDate)));
  }
  const std::optional<StatementBalance>& closing = statement.closingBalance;
  if (closing && !CentsWithinLimit(closing->amount))
    return Status::InvalidArgument(
        AmountBeyondLimitText("the closing balance of " + IsoDay(closing->date)));
  return Status::Ok();
}

}  // namespace paylark
