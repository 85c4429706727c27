#include <algorithm>
#include <ostream>
#include <sstream>
#include <variant>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/forecast_text.h"
#include "cli/json_writer.h"
#include "cli/series_suggestion_text.h"
#include "cli/statement_files.h"
#include "core/base/field_parsing.h"
#include "core/base/messages.h"
#include "core/statements/bank_csv_columns_text.h"
#include "core/statements/recurring/suggested_series_creation.h"
#include "settings/statement_settings.h"

namespace paylark::cli {
namespace {

// What the command was asked for once its arguments are read.
struct SuggestRequest {
  std::vector<std::string> files;
  std::optional<std::string> account;
  std::optional<BankCsvColumns> columns;  // of the bank CSVs among the files
  std::vector<std::size_t> create;        // suggestion numbers, from 1
  int count = kSuggestedMembers;
  bool json = false;
};

// "2,5" as numbers from 1; nothing for a list that holds anything else.
std::optional<std::vector<std::size_t>> NumberList(const std::string& text) {
  std::vector<std::size_t> numbers;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    if (item.empty() || item.size() > 6 ||
        !std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return std::nullopt;
    numbers.push_back(static_cast<std::size_t>(std::stoi(item)));
    if (numbers.back() == 0)
      return std::nullopt;
  }
  if (numbers.empty())
    return std::nullopt;
  return numbers;
}

std::optional<std::string> TakeRequest(Arguments& arguments, SuggestRequest& request) {
  request.account = TakeAccount(arguments);
  request.json = arguments.TakeFlag("--json");
  if (const std::optional<std::string> columns = arguments.TakeValue("--columns")) {
    Result<BankCsvColumns> parsed = ParseColumnsText(*columns);
    if (!parsed.ok())
      return parsed.status().message();
    request.columns = std::move(parsed).value();
  }
  if (const std::optional<std::string> list = arguments.TakeValue("--create")) {
    std::optional<std::vector<std::size_t>> numbers = NumberList(*list);
    if (!numbers)
      return "--create takes the suggestions' numbers, as in --create 1,3";
    request.create = std::move(*numbers);
  }
  if (const std::optional<std::string> count = arguments.TakeValue("--count")) {
    request.count = LeadingInteger(*count);
    if (request.count < 1 || request.count > 999)
      return MessageText(MessageId::kInvalidRecurrenceCount);
  }
  if (arguments.TakePositional() != "series")
    return "suggest needs what to suggest: suggest series FILE...";
  while (std::optional<std::string> file = arguments.TakePositional())
    request.files.push_back(std::move(*file));
  if (request.files.empty())
    return "suggest series needs at least one statement file";
  return arguments.Finish();
}

// The statements, each with its Paylark account; the exit code of a failure, printed already.
std::variant<std::vector<Statement>, int> ReadStatements(const SuggestRequest& request,
                                                         CommandContext& context) {
  BalanceBook balances(context.store.files(), RecordsFolderPath(context.store.workingDirectory()));
  LoadBalances(context, balances);
  std::vector<Statement> statements;
  for (const std::string& path : request.files) {
    std::string csvHeader;
    Result<Statement> read =
        ReadStatementAt(context.store.files(), path, std::nullopt, request.columns, csvHeader);
    if (!read.ok())
      return ReadingFailure(context, read.status());
    Statement statement = std::move(read).value();
    const std::optional<std::string> csvAccount =
        csvHeader.empty() ? std::nullopt : RememberedBankCsvAccount(csvHeader);
    Result<std::string> account =
        StatementAccount(statement, request.account, csvAccount, balances, context.store.map());
    if (!account.ok())
      return UsageError(context, account.status().message());
    statement.account = std::move(account).value();
    statements.push_back(std::move(statement));
  }
  return statements;
}

void TellHistory(const SeriesSuggestions& found, CommandContext& context) {
  context.err << "paylark-cli: "
              << MessageText({MessageId::kBankHistory, HistoryRange(found), found.historyDays, {}})
              << '\n';
  if (found.monthlyLeftOut) {
    context.err << "paylark-cli: "
                << MessageText({MessageId::kShortBankHistory, {}, found.historyDays, {}}) << '\n';
  }
  if (found.suggestions.empty())
    context.err << "paylark-cli: " << MessageText(MessageId::kNoSeriesFound) << '\n';
}

std::string CreatedJson(const CreatedSeries& created) {
  std::string ids;
  for (const auto* list : {&created.paid, &created.upcoming}) {
    for (const std::string& id : *list)
      ids += (ids.empty() ? "" : ", ") + JsonString(id);
  }
  return ", \"created\": {\"seriesId\": " + JsonString(created.seriesId) + ", \"recordIds\": [" +
         ids + "]}";
}

void Print(const SeriesSuggestions& found, const std::vector<std::optional<CreatedSeries>>& created,
           const SuggestRequest& request, std::ostream& out) {
  if (request.json)
    out << '[';
  for (std::size_t i = 0; i < found.suggestions.size(); ++i) {
    const SeriesSuggestion& suggestion = found.suggestions[i];
    if (request.json) {
      out << (i ? ",\n " : "")
          << SuggestionJson(i + 1, suggestion, created[i] ? CreatedJson(*created[i]) : "");
      continue;
    }
    out << SuggestionLine(i + 1, suggestion) << '\n';
    if (created[i]) {
      out << "created\t" << created[i]->seriesId << '\t' << created[i]->upcoming.size()
          << " upcoming, " << created[i]->paid.size() << " paid\n";
    }
  }
  if (request.json)
    out << "]\n";
}

}  // namespace

int RunSuggest(Arguments& arguments, CommandContext& context) {
  SuggestRequest request;
  if (std::optional<std::string> problem = TakeRequest(arguments, request))
    return UsageError(context, *problem);
  std::variant<std::vector<Statement>, int> statements = ReadStatements(request, context);
  if (const int* failed = std::get_if<int>(&statements))
    return *failed;
  const SeriesSuggestions found =
      SuggestSeries(std::get<std::vector<Statement>>(statements), context.store.map());
  for (const std::size_t number : request.create) {
    if (number > found.suggestions.size()) {
      return UsageError(context, "there is no suggestion " + std::to_string(number) + " (of " +
                                     std::to_string(found.suggestions.size()) + ")");
    }
  }
  TellHistory(found, context);
  std::vector<std::optional<CreatedSeries>> created(found.suggestions.size());
  if (!request.create.empty())
    BackUpBeforeFirstChangeOfDay(context);
  for (const std::size_t number : request.create) {
    if (created[number - 1])
      continue;
    Result<CreatedSeries> made = CreateSuggestedSeries(found.suggestions[number - 1], request.count,
                                                       context.store, context.clock);
    if (!made.ok()) {
      Print(found, created, request, context.out);
      return Fail(context, kExitFailed, made.status().message());
    }
    created[number - 1] = std::move(made).value();
  }
  Print(found, created, request, context.out);
  return kExitSuccess;
}

}  // namespace paylark::cli
