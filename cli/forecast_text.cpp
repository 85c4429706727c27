#include "cli/forecast_text.h"

#include <ostream>

#include "core/base/text_encoding.h"

namespace paylark::cli {

std::optional<std::string> TakeAccount(Arguments& arguments) {
  const std::optional<std::string> account = arguments.TakeValue("--account");
  if (!account)
    return std::nullopt;
  return std::string(TrimWhiteSpace(*account));
}

void LoadBalances(CommandContext& context, BalanceBook& book) {
  book.Load(context.store.listing().balanceFiles);
  for (const SkippedFile& file : book.skipped())
    context.err << "paylark-cli: skipped " << file.fileName << ": " << file.reason << '\n';
}

std::string AccountLabel(const std::string& account) {
  return account.empty() ? "(no account)" : account;
}

}  // namespace paylark::cli
