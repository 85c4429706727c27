#include "core/statements/statement_matching.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/statements/match_scoring.h"
#include "core/statements/open_dues.h"
#include "core/statements/text_folding.h"

namespace paylark {
namespace {

// A counterparty or memo that shows at least this share of a name names it.
constexpr double kNameEvidence = 0.5;

struct Pair {
  std::size_t transaction = 0;
  std::size_t due = 0;  // position in OpenDues::dues(): due-date order
  double score = 0.0;
  MatchEvidence evidence = MatchEvidence::kNone;
  const std::string* payer = nullptr;  // with kSeriesPayer: the name that paid before
  bool part = false;
};

// Best score first; ties go to the earlier transaction, then the earlier due, so the same
// statement and dues always give the same matches.
bool Before(const Pair& a, const Pair& b) {
  if (a.score != b.score)
    return a.score > b.score;
  if (a.transaction != b.transaction)
    return a.transaction < b.transaction;
  return a.due < b.due;
}

// What one booking shows of each due: how well its text names the due (each of the dues' names
// worked out once per booking) and the evidence beyond the name.
class BookingEvidence {
 public:
  explicit BookingEvidence(const OpenDues& dues)
      : dues_(dues), scores_(dues.names().size()), scoredFor_(dues.names().size(), 0) {}

  void Begin(const StatementTransaction& transaction) {
    folded_ = FoldForMatching(transaction.counterparty + " " + transaction.memo);
    words_ = FoldedWords(folded_);
    account_ = CompactAccountId(transaction.counterpartyAccount);
    reference_ = CompactAccountId(transaction.creditorReference);
    memo_ = CompactAccountId(transaction.memo);
    ++booking_;
  }
  double NameScore(const OpenDue& due) { return std::max(Score(due.payTo), Score(due.title)); }

  // The strongest evidence the booking gives for the due.
  std::pair<MatchEvidence, const std::string*> Of(const OpenDue& due, double nameScore) const {
    if (!due.creditorReference.empty() && (reference_ == due.creditorReference ||
                                           memo_.find(due.creditorReference) != std::string::npos))
      return {MatchEvidence::kCreditorReference, nullptr};
    if (!due.payeeAccount.empty() && account_ == due.payeeAccount)
      return {MatchEvidence::kPayeeAccount, nullptr};
    if (due.payers != 0) {
      const SeriesPayers& payers = dues_.payers()[due.payers - 1];
      for (std::size_t i = 0; i < payers.foldedNames.size(); ++i) {
        if (!payers.foldedNames[i].empty() &&
            words_.Similarity(payers.foldedNames[i]) >= kNameEvidence)
          return {MatchEvidence::kSeriesPayer, &payers.names[i]};
      }
      if (!account_.empty() && std::find(payers.accounts.begin(), payers.accounts.end(),
                                         account_) != payers.accounts.end())
        return {MatchEvidence::kSeriesPayer, nullptr};
    }
    if (nameScore >= kNameEvidence)
      return {MatchEvidence::kName, nullptr};
    return {MatchEvidence::kNone, nullptr};
  }

 private:
  double Score(std::uint32_t name) {
    if (scoredFor_[name] != booking_) {
      scoredFor_[name] = booking_;
      scores_[name] = words_.Similarity(dues_.names()[name]);
    }
    return scores_[name];
  }

  const OpenDues& dues_;
  std::vector<double> scores_;
  std::vector<std::size_t> scoredFor_;  // the booking each score is of; 0 for none yet
  std::size_t booking_ = 0;
  std::string folded_;
  FoldedWords words_{""};
  std::string account_;
  std::string reference_;
  std::string memo_;
};

// A transaction in another currency than the statement's: its amount says nothing, so only
// evidence pairs it, scored as though the amount were exact less the amount's weight.
std::optional<double> ForeignScore(const StatementTransaction& transaction, std::int64_t day,
                                   const OpenDueKey& key, MatchEvidence evidence, double nameScore,
                                   const MatchOptions& options) {
  if (evidence == MatchEvidence::kNone || (transaction.amount > 0) != key.income)
    return std::nullopt;
  const Cents asDue = transaction.amount > 0 ? key.amount : -key.amount;
  const std::optional<double> score = ScoreMatch(asDue, day, key, nameScore, options);
  if (!score)
    return std::nullopt;
  return *score - kAmountWeight;
}

// A debit smaller than what is left of a bill: it may have paid a part of it.
bool MayBePart(const StatementTransaction& transaction, const OpenDueKey& due) {
  return transaction.currency.empty() && !due.income && transaction.amount < 0 &&
         -transaction.amount < due.amount;
}

// A part's score: as though its amount were exact, less the amount's weight (the amount says
// only that it is smaller), so a part is a possible match at most.
std::optional<double> PartScore(const StatementTransaction& transaction, std::int64_t day,
                                const OpenDueKey& key, double nameScore,
                                const MatchOptions& options) {
  OpenDueKey asPart = key;
  asPart.amount = -transaction.amount;
  const std::optional<double> score =
      ScoreMatch(transaction.amount, day, asPart, nameScore, options);
  if (!score)
    return std::nullopt;
  return *score - kAmountWeight;
}

// Every pair that could be a match, looking only at the dues whose dates fall in each
// transaction's window.
std::vector<Pair> CandidatePairs(const Statement& statement, const std::vector<bool>& open,
                                 const OpenDues& dues, const MatchOptions& options) {
  std::vector<Pair> pairs;
  BookingEvidence booking(dues);
  for (std::size_t t = 0; t < statement.transactions.size(); ++t) {
    const StatementTransaction& transaction = statement.transactions[t];
    if (!open[t])
      continue;
    const bool foreign = !transaction.currency.empty();
    const std::int64_t day = DayNumber(transaction.bookingDate);
    const auto [first, end] = dues.DaysFromTo(day - options.daysAfter, day + options.daysBefore);
    booking.Begin(transaction);
    for (std::size_t d = first; d < end; ++d) {
      const OpenDueKey& key = dues.keys()[d];
      const bool fits = foreign || AmountFits(transaction.amount, key, options.tolerance);
      if (!fits && !MayBePart(transaction, key))
        continue;
      const double nameScore = booking.NameScore(dues.dues()[d]);
      const auto [evidence, payer] = booking.Of(dues.dues()[d], nameScore);
      const double counted = evidence >= MatchEvidence::kSeriesPayer ? 1.0 : nameScore;
      if (!fits) {
        // A part comes from the due's counterparty, or it is not told apart from any debit.
        if (evidence == MatchEvidence::kNone)
          continue;
        if (const auto score = PartScore(transaction, day, key, counted, options))
          pairs.push_back({t, d, *score, evidence, payer, true});
        continue;
      }
      const std::optional<double> score =
          foreign ? ForeignScore(transaction, day, key, evidence, counted, options)
                  : ScoreMatch(transaction.amount, day, key, counted, options);
      if (score)
        pairs.push_back({t, d, *score, evidence, payer, false});
    }
  }
  return pairs;
}

MatchReason ReasonOf(const Pair& pair, const StatementTransaction& transaction,
                     const OpenDue& due) {
  MatchReason reason;
  reason.dueAmount = due.amount;
  reason.amountDifference =
      transaction.currency.empty() ? std::llabs(transaction.amount) - due.amount : 0;
  reason.daysLate = DayNumber(transaction.bookingDate) - due.day;
  reason.evidence = pair.evidence;
  if (pair.payer)
    reason.payer = *pair.payer;
  reason.currency = transaction.currency;
  return reason;
}

// The transactions' first and last booking days, where the statement gives no period.
std::pair<std::int64_t, std::int64_t> PeriodOf(const Statement& statement) {
  std::int64_t first = INT64_MAX;
  std::int64_t last = INT64_MIN;
  for (const StatementTransaction& transaction : statement.transactions) {
    if (!transaction.bookingDate.IsValid())
      continue;
    first = std::min(first, DayNumber(transaction.bookingDate));
    last = std::max(last, DayNumber(transaction.bookingDate));
  }
  if (statement.periodStart && statement.periodStart->IsValid())
    first = DayNumber(*statement.periodStart);
  if (statement.periodEnd && statement.periodEnd->IsValid())
    last = DayNumber(*statement.periodEnd);
  return {first, last};
}

// Takes the pairs one to one, best first; marks what they took.
void TakeBestFirst(std::vector<Pair> pairs, const Statement& statement, const OpenDues& dues,
                   std::vector<bool>& transactionTaken, std::vector<bool>& dueTaken,
                   std::vector<StatementMatch>& matches) {
  std::sort(pairs.begin(), pairs.end(), Before);
  for (const Pair& pair : pairs) {
    if (transactionTaken[pair.transaction] || dueTaken[pair.due])
      continue;
    transactionTaken[pair.transaction] = true;
    dueTaken[pair.due] = true;
    const StatementTransaction& transaction = statement.transactions[pair.transaction];
    const OpenDue& due = dues.dues()[pair.due];
    const bool sure = pair.score >= kSureScore && pair.evidence != MatchEvidence::kNone &&
                      transaction.currency.empty() && !pair.part;
    matches.push_back({pair.transaction, due.recordId, pair.score, sure,
                       ReasonOf(pair, transaction, due), pair.part});
  }
}

}  // namespace

StatementMatching MatchStatement(const Statement& statement, const DueMap& dueMap,
                                 const MatchOptions& options) {
  StatementMatching matching;
  const OpenDues dues(dueMap, statement.account);
  matching.accountNamedByNoDue = dues.accountNamedByNoDue();

  const std::size_t count = statement.transactions.size();
  std::vector<bool> open(count, false);
  std::vector<bool> imported(count, false);
  for (std::size_t t = 0; t < count; ++t) {
    const StatementTransaction& transaction = statement.transactions[t];
    imported[t] = !transaction.id.empty() && dues.IsPaymentReference(transaction.id);
    if (imported[t])
      matching.alreadyImported.push_back(t);
    else
      open[t] = transaction.bookingDate.IsValid();
  }

  std::vector<bool> transactionTaken(count, false);
  std::vector<bool> dueTaken(dues.dues().size(), false);
  TakeBestFirst(CandidatePairs(statement, open, dues, options), statement, dues, transactionTaken,
                dueTaken, matching.matches);
  for (std::size_t t = 0; t < count; ++t) {
    if (!transactionTaken[t] && !imported[t])
      matching.unmatched.push_back(t);
  }

  const auto [firstDay, lastDay] = PeriodOf(statement);
  const auto [begin, end] = dues.DaysFromTo(firstDay, lastDay);
  for (std::size_t d = begin; d < end; ++d) {
    if (!dueTaken[d])
      matching.stillUnpaid.push_back(dues.dues()[d].recordId);
  }
  return matching;
}

}  // namespace paylark
