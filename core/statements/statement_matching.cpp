#include "core/statements/statement_matching.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/statements/match_scoring.h"
#include "core/statements/open_dues.h"
#include "core/statements/text_folding.h"

namespace paylark {
namespace {

struct Pair {
  std::size_t transaction = 0;
  std::size_t due = 0;  // position in OpenDues::dues(): due-date order
  double score = 0.0;
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

// How well one booking's text names each of the dues' names, each name worked out once.
class NameScores {
 public:
  explicit NameScores(const OpenDues& dues)
      : names_(dues.names()), scores_(names_.size()), scoredFor_(names_.size(), 0) {}

  // Starts on the next booking; its folded text must outlive the calls that follow.
  void Begin(std::string_view foldedText) {
    words_ = FoldedWords(foldedText);
    ++booking_;
  }
  double Of(const OpenDue& due) { return std::max(Score(due.payTo), Score(due.title)); }

 private:
  double Score(std::uint32_t name) {
    if (scoredFor_[name] != booking_) {
      scoredFor_[name] = booking_;
      scores_[name] = words_.Similarity(names_[name]);
    }
    return scores_[name];
  }

  const std::vector<std::string>& names_;
  std::vector<double> scores_;
  std::vector<std::size_t> scoredFor_;  // the booking each score is of; 0 for none yet
  std::size_t booking_ = 0;
  FoldedWords words_{""};
};

// Every pair that could be a match, looking only at the dues whose dates fall in each
// transaction's window.
std::vector<Pair> CandidatePairs(const Statement& statement, const std::vector<bool>& open,
                                 const OpenDues& dues, const MatchOptions& options) {
  std::vector<Pair> pairs;
  NameScores names(dues);
  for (std::size_t t = 0; t < statement.transactions.size(); ++t) {
    const StatementTransaction& transaction = statement.transactions[t];
    if (!open[t])
      continue;
    const std::int64_t day = DayNumber(transaction.bookingDate);
    const auto [first, end] = dues.DaysFromTo(day - options.daysAfter, day + options.daysBefore);
    const std::string folded = FoldForMatching(transaction.counterparty + " " + transaction.memo);
    names.Begin(folded);
    for (std::size_t d = first; d < end; ++d) {
      const OpenDueKey& key = dues.keys()[d];
      if (!AmountFits(transaction.amount, key, options.tolerance))
        continue;
      const double nameScore = names.Of(dues.dues()[d]);
      if (auto score = ScoreMatch(transaction.amount, day, key, nameScore, options))
        pairs.push_back({t, d, *score});
    }
  }
  return pairs;
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
void TakeBestFirst(std::vector<Pair> pairs, const OpenDues& dues,
                   std::vector<bool>& transactionTaken, std::vector<bool>& dueTaken,
                   std::vector<StatementMatch>& matches) {
  std::sort(pairs.begin(), pairs.end(), Before);
  for (const Pair& pair : pairs) {
    if (transactionTaken[pair.transaction] || dueTaken[pair.due])
      continue;
    transactionTaken[pair.transaction] = true;
    dueTaken[pair.due] = true;
    matches.push_back(
        {pair.transaction, dues.dues()[pair.due].recordId, pair.score, pair.score >= kSureScore});
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
  TakeBestFirst(CandidatePairs(statement, open, dues, options), dues, transactionTaken, dueTaken,
                matching.matches);
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
