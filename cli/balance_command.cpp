#include <ostream>
#include <variant>

#include "cli/amount_argument.h"
#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "cli/forecast_text.h"
#include "core/base/format.h"
#include "core/base/messages.h"
#include "core/forecast/balance_amount.h"
#include "core/forecast/newest_balances.h"

namespace paylark::cli {
namespace {

void PrintEntry(const BalanceEntry& entry, std::ostream& out) {
  out << AccountLabel(entry.account) << '\t' << ListDateTime(entry.date) << '\t'
      << FormatAmount(entry.amount) << '\n';
}

int ShowBalances(const BalanceBook& book, const std::optional<std::string>& account,
                 CommandContext& context) {
  const auto newest = NewestBalances(book.entries(), account);
  if (account && newest.empty())
    return Fail(context, kExitFailed, "no balance of " + AccountLabel(*account) + " was entered");
  for (const auto& [key, entry] : newest)
    PrintEntry(*entry, context.out);
  return kExitSuccess;
}

}  // namespace

int RunBalance(Arguments& arguments, CommandContext& context) {
  const std::optional<std::string> account = TakeAccount(arguments);
  const std::optional<std::string> onText = arguments.TakeValue("--on");
  const std::optional<std::string> amountText = arguments.TakePositional();
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  if (onText && !amountText)
    return UsageError(context, "--on needs an amount");
  BalanceBook book(context.store.files(), RecordsFolderPath(context.store.workingDirectory()));
  LoadBalances(context, book);
  if (!amountText)
    return ShowBalances(book, account, context);

  const auto amount = ParseBalanceAmount(*amountText, ParseAmountArgument);
  if (const auto* problem = std::get_if<Message>(&amount))
    return UsageError(context, MessageText(*problem));
  OleDateTime on = context.clock.Now();
  if (onText) {
    const std::optional<OleDateTime> parsed = ParseDateTime(*onText, DateOnly::kEndOfDay);
    if (!parsed)
      return UsageError(context, "--on must be a date YYYY-MM-DD[ HH:MM[:SS]] up to 9999");
    on = *parsed;
  }
  BackUpBeforeFirstChangeOfDay(context);
  const BalanceEntry entry{"", account.value_or(""), on, std::get<double>(amount), "", ""};
  const Result<BalanceEntry> added = book.Add(entry, context.clock);
  if (!added.ok())
    return Fail(context, kExitFailed, "the balance was not saved: " + added.status().message());
  PrintEntry(added.value(), context.out);
  return kExitSuccess;
}

}  // namespace paylark::cli
