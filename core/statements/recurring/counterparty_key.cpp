#include "core/statements/recurring/counterparty_key.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/statements/open_dues.h"
#include "core/statements/text_folding.h"

namespace paylark {
namespace {

// Words that say how money moved, not to whom; folded.
constexpr std::array<std::string_view, 30> kNoiseWords = {
    "ach",        "card",         "cred",        "dd",
    "debit",      "direct",       "eref",        "folgelastschrift",
    "gutschrift", "id",           "kref",        "lastschrift",
    "mandat",     "mandate",      "mref",        "online",
    "payment",    "pos",          "purchase",    "recurring",
    "ref",        "reference",    "sepa",        "svwz",
    "transfer",   "ueberweisung", "uberweisung", "visa",
    "mastercard", "standing"};

bool IsNoise(std::string_view word) {
  return word.size() < 2 ||
         std::find(kNoiseWords.begin(), kNoiseWords.end(), word) != kNoiseWords.end() ||
         std::any_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string CounterpartyNameKey(std::string_view name) {
  const std::string folded = FoldForMatching(name);
  std::string key;
  std::size_t start = 0;
  while (start < folded.size()) {
    std::size_t end = folded.find(' ', start);
    if (end == std::string::npos)
      end = folded.size();
    const std::string_view word(folded.data() + start, end - start);
    if (!IsNoise(word))
      key.append(key.empty() ? "" : " ").append(word);
    start = end + 1;
  }
  return key;
}

std::string DisplayName(std::string_view name) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  std::string_view shown = name.substr(
      0, static_cast<std::size_t>(std::find_if(name.begin(), name.end(), isDigit) - name.begin()));
  while (!shown.empty() && !std::isalpha(static_cast<unsigned char>(shown.back())) &&
         static_cast<unsigned char>(shown.back()) < 0x80)
    shown.remove_suffix(1);
  return std::string(shown.empty() ? name : shown);
}

std::string CounterpartyKey(std::string_view name, std::string_view memo,
                            std::string_view counterpartyAccount) {
  if (std::string account = CompactAccountId(counterpartyAccount); !account.empty())
    return "account " + account;
  std::string key = CounterpartyNameKey(name);
  if (key.empty() && name.empty())
    key = CounterpartyNameKey(memo);
  return key.empty() ? key : "name " + key;
}

}  // namespace paylark
