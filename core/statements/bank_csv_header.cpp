#include "core/statements/bank_csv_header.h"

#include <set>
#include <string_view>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

// Lower case, umlauts and ß spelled out, blanks around trimmed: "Empfänger " is "empfaenger".
std::string FoldName(std::string_view name) {
  static constexpr std::pair<std::string_view, std::string_view> kSpelled[] = {
      {"\u00e4", "ae"}, {"\u00f6", "oe"}, {"\u00fc", "ue"}, {"\u00c4", "ae"},
      {"\u00d6", "oe"}, {"\u00dc", "ue"}, {"\u00df", "ss"}};
  std::string folded;
  name = TrimWhiteSpace(name);
  for (std::size_t at = 0; at < name.size();) {
    bool spelled = false;
    for (const auto& [letter, spelling] : kSpelled) {
      if (name.substr(at).starts_with(letter)) {
        folded += spelling;
        at += letter.size();
        spelled = true;
        break;
      }
    }
    if (!spelled) {
      const char c = name[at++];
      folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  return folded;
}

enum class Matching { kExact, kExactOrPart };

class ColumnFinder {
 public:
  explicit ColumnFinder(const std::vector<std::string>& header) {
    for (const std::string& name : header)
      names_.push_back(FoldName(name));
  }

  // The first column not yet taken whose name is a keyword, trying keywords in their order; a
  // keyword's exact match is preferred to a name that only holds it.
  std::optional<int> Take(std::initializer_list<std::string_view> keywords, Matching matching) {
    for (const std::string_view keyword : keywords) {
      std::optional<int> found = Find(keyword, Matching::kExact);
      if (!found && matching == Matching::kExactOrPart)
        found = Find(keyword, Matching::kExactOrPart);
      if (found) {
        taken_.insert(*found);
        return found;
      }
    }
    return std::nullopt;
  }

 private:
  std::optional<int> Find(std::string_view keyword, Matching matching) const {
    for (std::size_t column = 0; column < names_.size(); ++column) {
      const std::string& name = names_[column];
      const bool matches =
          matching == Matching::kExact ? name == keyword : name.find(keyword) != std::string::npos;
      if (matches && !taken_.contains(static_cast<int>(column)))
        return static_cast<int>(column);
    }
    return std::nullopt;
  }

  std::vector<std::string> names_;
  std::set<int> taken_;
};

}  // namespace

BankCsvColumns GuessBankCsvColumns(const std::vector<std::string>& header) {
  ColumnFinder finder(header);
  BankCsvColumns columns;
  columns.debitCreditMark = finder.Take(
      {"soll/haben", "s/h", "debit/credit", "credit/debit", "dr/cr", "cr/dr"}, Matching::kExact);
  columns.date = finder.Take(
      {"buchungstag", "buchungsdatum", "booking date", "posting date", "posted date",
       "transaction date", "date", "datum", "valutadatum", "wertstellung", "value date", "valuta"},
      Matching::kExactOrPart);
  columns.debit =
      finder.Take({"soll", "debit", "withdrawal", "paid out", "money out", "ausgang", "belastung"},
                  Matching::kExactOrPart);
  columns.credit =
      finder.Take({"haben", "credit", "deposit", "paid in", "money in", "eingang", "gutschrift"},
                  Matching::kExactOrPart);
  if (!columns.debit || !columns.credit) {
    columns.amount = finder.Take({"betrag", "amount", "umsatz", "summe", "value", "wert"},
                                 Matching::kExactOrPart);
  }
  if (columns.amount) {
    columns.debit.reset();
    columns.credit.reset();
  }
  columns.counterparty =
      finder.Take({"auftraggeber/empfaenger", "empfaenger/auftraggeber",
                   "beguenstigter/zahlungspflichtiger", "zahlungsempfaenger", "empfaenger",
                   "auftraggeber", "payee", "counterparty", "beneficiary", "merchant", "name"},
                  Matching::kExactOrPart);
  columns.description = finder.Take({"verwendungszweck", "memo", "description", "details",
                                     "purpose", "narrative", "beschreibung", "buchungstext"},
                                    Matching::kExactOrPart);
  columns.reference = finder.Take({"referenz", "reference", "kundenreferenz", "bankreferenz",
                                   "transaction id", "reference number", "ref", "ref."},
                                  Matching::kExact);
  return columns;
}

}  // namespace paylark
