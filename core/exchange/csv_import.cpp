#include "core/exchange/csv_import.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <clocale>
#include <optional>
#include <unordered_map>
#include <variant>

#include "core/base/field_parsing.h"
#include "core/base/format.h"
#include "core/base/text_encoding.h"
#include "core/exchange/csv_locale_fields.h"
#include "core/exchange/csv_text.h"

namespace paylark {
namespace {

enum class Column {
  kTitle,
  kPayTo,
  kAccount,
  kAmount,
  kDue,
  kStart,
  kType,
  kStatus,
  kSeries,
  kNotes,
  kPaidOn,
  kPaidAmount,
  kReference
};
constexpr std::size_t kColumnCount = 13;

struct ColumnName {
  std::string_view name;
  Column column;
};
constexpr std::array<ColumnName, kColumnCount> kColumnNames = {
    {{"title", Column::kTitle},
     {"pay to", Column::kPayTo},
     {"account", Column::kAccount},
     {"amount", Column::kAmount},
     {"due", Column::kDue},
     {"start", Column::kStart},
     {"type", Column::kType},
     {"status", Column::kStatus},
     {"series", Column::kSeries},
     {"notes", Column::kNotes},
     {"paid on", Column::kPaidOn},
     {"paid amount", Column::kPaidAmount},
     {"reference", Column::kReference}}};

std::string Lowered(std::string_view text) {
  std::string lowered(TrimWhiteSpace(text));
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

// Which field of a row holds each column; -1 where the header does not name it.
struct Header {
  std::array<int, kColumnCount> index;
  std::size_t width = 0;

  std::string_view Field(const CsvRow& row, Column column) const {
    const int i = index[static_cast<std::size_t>(column)];
    if (i < 0 || static_cast<std::size_t>(i) >= row.fields.size())
      return {};
    return row.fields[static_cast<std::size_t>(i)];
  }
};

Header ReadHeader(const CsvRow& row) {
  Header header;
  header.index.fill(-1);
  header.width = row.fields.size();
  for (std::size_t i = 0; i < row.fields.size(); ++i) {
    const std::string name = Lowered(row.fields[i]);
    for (const ColumnName& known : kColumnNames) {
      int& slot = header.index[static_cast<std::size_t>(known.column)];
      if (known.name == name && slot < 0)
        slot = static_cast<int>(i);
    }
  }
  return header;
}

bool ReadNumber(std::string_view& text, std::size_t digits, int& value) {
  if (text.size() < digits)
    return false;
  const auto result = std::from_chars(text.data(), text.data() + digits, value);
  if (result.ec != std::errc() || result.ptr != text.data() + digits)
    return false;
  text.remove_prefix(digits);
  return true;
}

bool Take(std::string_view& text, char c) {
  if (text.empty() || text.front() != c)
    return false;
  text.remove_prefix(1);
  return true;
}

// "YYYY-MM-DD", optionally followed by " HH:MM" or " HH:MM:SS" (or "T" for the blank).
std::optional<OleDateTime> ParseCsvDateTime(std::string_view text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!ReadNumber(text, 4, year) || !Take(text, '-') || !ReadNumber(text, 2, month) ||
      !Take(text, '-') || !ReadNumber(text, 2, day)) {
    return std::nullopt;
  }
  if (!text.empty()) {
    if (!Take(text, ' ') && !Take(text, 'T'))
      return std::nullopt;
    if (!ReadNumber(text, 2, hour) || !Take(text, ':') || !ReadNumber(text, 2, minute))
      return std::nullopt;
    if (!text.empty() && (!Take(text, ':') || !ReadNumber(text, 2, second) || !text.empty()))
      return std::nullopt;
  }
  if (hour > 23 || minute > 59 || second > 59)
    return std::nullopt;
  return OleDateTime::FromCivil(year, month, day, hour, minute, second);
}

// An amount as the month list shows it under the current locale ("$1,234.50", "1.234,50 €"):
// the digits are read, and the text must be exactly what the list would show for them.
std::optional<double> ParseListedAmount(std::string_view text) {
  const std::string_view point = std::localeconv()->mon_decimal_point;
  const std::size_t pointAt = point.empty() ? std::string_view::npos : text.rfind(point);
  std::string number = text.find_first_of("-(") == std::string_view::npos ? "" : "-";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == pointAt)
      number += '.';
    else if (std::isdigit(static_cast<unsigned char>(text[i])))
      number += text[i];
  }
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc() || result.ptr != number.data() + number.size())
    return std::nullopt;
  if (FormatAmount(value) != text)
    return std::nullopt;
  return value;
}

// An amount in the C form the export writes, as the month list shows it, or as a spreadsheet
// saves it under the locale; the editor's range applies to each.
std::optional<Message> ReadAmount(std::string_view text, double& amount) {
  const std::string_view trimmed = TrimWhiteSpace(text);
  if (trimmed.empty())
    return std::nullopt;
  auto parsed = ParseAmount(trimmed);
  // "1.234" is a thousand under de_DE: the C form never has more than cents, and where the
  // locale's decimal mark is a point too the C reading stands.
  const std::size_t point = trimmed.find('.');
  const bool beyondCents = point != std::string_view::npos && trimmed.size() - point > 3 &&
                           std::string_view(std::localeconv()->mon_decimal_point) != ".";
  if (std::holds_alternative<Message>(parsed) || beyondCents) {
    std::optional<double> local = ParseListedAmount(trimmed);
    if (!local)
      local = ParseLocaleAmount(trimmed);
    if (local)
      parsed = ParseAmount(FormatAmountNumber(*local));
    else if (std::holds_alternative<Message>(parsed) &&
             std::get<Message>(parsed).id == MessageId::kEnterNumber)
      return Message{MessageId::kCsvAmountNotANumber, std::string(trimmed), 0,
                     ExpectedAmountForms()};
  }
  if (const auto* refusal = std::get_if<Message>(&parsed))
    return Message{MessageId::kCsvBadAmount, std::string(trimmed), 0, MessageText(*refusal)};
  amount = std::get<double>(parsed);
  return std::nullopt;
}

std::optional<Message> ReadDate(std::string_view text, std::string_view column, OleDateTime& date) {
  const std::string_view trimmed = TrimWhiteSpace(text);
  if (trimmed.empty())
    return std::nullopt;
  auto parsed = ParseCsvDateTime(trimmed);
  if (!parsed)
    parsed = ParseLocaleDate(trimmed);
  if (!parsed)
    return Message{MessageId::kCsvBadDate, std::string(column), 0, std::string(trimmed)};
  date = *parsed;
  return std::nullopt;
}

std::optional<Message> ReadType(std::string_view text, std::int32_t& type) {
  const std::string lowered = Lowered(text);
  if (lowered.empty())
    return std::nullopt;
  for (const TypeEntry& entry : kTypeTable) {
    if (Lowered(entry.text) == lowered) {
      type = entry.value;
      return std::nullopt;
    }
  }
  return Message{MessageId::kCsvBadType, {}, 0, std::string(TrimWhiteSpace(text))};
}

std::optional<Message> ReadStatus(std::string_view text, std::int32_t& paid) {
  const std::string lowered = Lowered(text);
  if (lowered.empty() || lowered == "unpaid") {
    paid = 0;
  } else if (lowered == "paid") {
    paid = 1;
  } else {
    return Message{MessageId::kCsvBadStatus, {}, 0, std::string(TrimWhiteSpace(text))};
  }
  return std::nullopt;
}

// Record notes break lines with CR LF; spreadsheets often write LF alone.
std::string NotesWithCrLf(std::string_view text) {
  std::string notes;
  notes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
      notes += '\r';
    notes += text[i];
  }
  return notes;
}

// The payment details of a paid row, each when its column is present and not empty; an unpaid
// due has none, so an unpaid row's are not read.
std::optional<Message> ReadPayment(const Header& header, const CsvRow& row, DueRecord& record) {
  if (!IsPaid(record))
    return std::nullopt;
  if (!TrimWhiteSpace(header.Field(row, Column::kPaidOn)).empty()) {
    OleDateTime paidOn;
    if (auto refusal = ReadDate(header.Field(row, Column::kPaidOn), "Paid On", paidOn))
      return refusal;
    record.paidOn = paidOn;
  }
  if (!TrimWhiteSpace(header.Field(row, Column::kPaidAmount)).empty()) {
    double paidAmount = 0;
    if (auto refusal = ReadAmount(header.Field(row, Column::kPaidAmount), paidAmount))
      return refusal;
    record.paidAmount = paidAmount;
  }
  record.paymentReference = CsvTextValue(header.Field(row, Column::kReference));
  return std::nullopt;
}

std::optional<Message> ReadDue(const Header& header, const CsvRow& row, DueRecord& record) {
  if (row.fields.size() > header.width)
    return Message{MessageId::kCsvTooManyFields, {}, static_cast<long long>(header.width), {}};
  if (TrimWhiteSpace(header.Field(row, Column::kDue)).empty())
    return Message{MessageId::kCsvEmptyDue, {}, 0, {}};
  record.title = CsvTextValue(header.Field(row, Column::kTitle));
  record.payTo = CsvTextValue(header.Field(row, Column::kPayTo));
  record.account = CsvTextValue(header.Field(row, Column::kAccount));
  record.notes = NotesWithCrLf(CsvTextValue(header.Field(row, Column::kNotes)));
  if (auto refusal = ReadDate(header.Field(row, Column::kDue), "Due", record.dueDate))
    return refusal;
  if (auto refusal = ReadDate(header.Field(row, Column::kStart), "Start", record.startDate))
    return refusal;
  if (auto refusal = ReadAmount(header.Field(row, Column::kAmount), record.amount))
    return refusal;
  if (auto refusal = ReadType(header.Field(row, Column::kType), record.type))
    return refusal;
  if (auto refusal = ReadStatus(header.Field(row, Column::kStatus), record.paid))
    return refusal;
  if (auto refusal = ReadPayment(header, row, record))
    return refusal;
  ApplyEditorDefaults(record);
  return std::nullopt;
}

bool IsBlank(const CsvRow& row) {
  return std::all_of(row.fields.begin(), row.fields.end(),
                     [](const std::string& field) { return field.empty(); });
}

// Removes the dues an import added; the store's file operations touch only their own files.
void Undo(RecordStore& store, const std::vector<std::string>& added) {
  for (const std::string& id : added)
    (void)store.Delete(id, ChangeMarker::kSkip);
}

}  // namespace

ImportPlan PlanCsvImport(std::string_view text, const Clock& clock) {
  ImportPlan plan;
  CsvReader reader(text, DetectCsvSeparator(text));
  CsvRow row;
  if (!reader.Next(row) || row.problem) {
    plan.refused.push_back(
        {1, row.problem.value_or(Message{MessageId::kCsvNoDueColumn, {}, 0, {}})});
    return plan;
  }
  const Header header = ReadHeader(row);
  if (header.index[static_cast<std::size_t>(Column::kDue)] < 0) {
    plan.refused.push_back({1, Message{MessageId::kCsvNoDueColumn, {}, 0, {}}});
    return plan;
  }
  const DueRecord defaults = DueRecord::WithDefaults(clock);
  while (reader.Next(row)) {
    if (row.problem) {
      plan.refused.push_back({row.number, *row.problem});
      continue;
    }
    if (IsBlank(row))
      continue;
    ImportedDue due{row.number, defaults, CsvTextValue(header.Field(row, Column::kSeries))};
    if (auto refusal = ReadDue(header, row, due.record)) {
      plan.refused.push_back({row.number, std::move(*refusal)});
      continue;
    }
    plan.dues.push_back(std::move(due));
  }
  return plan;
}

std::string RefusalText(const RefusedRow& refused) {
  return MessageText({MessageId::kImportRowRefused,
                      {},
                      static_cast<long long>(refused.row),
                      MessageText(refused.reason)});
}

Result<std::vector<std::string>> ApplyCsvImport(const ImportPlan& plan, RecordStore& store,
                                                const ImportProgress& progress) {
  std::vector<std::string> added;
  added.reserve(plan.dues.size());
  std::unordered_map<std::string, std::string> seriesIds;
  Status failure;
  StoreBatch batch(store);
  for (const ImportedDue& due : plan.dues) {
    DueRecord record = due.record;
    if (!due.seriesKey.empty()) {
      auto [slot, isNew] = seriesIds.try_emplace(due.seriesKey);
      if (isNew)
        slot->second = store.MakeSeriesId();
      record.seriesId = slot->second;
    }
    AddResult result = store.Add(std::move(record));
    added.push_back(result.recordId);
    if (!result.status.ok()) {
      failure = Status::IoError(MessageText(
          {MessageId::kRecordWriteFailed, due.record.title, 0, result.status.message()}));
      break;
    }
    if (progress)
      progress(added.size());
  }
  if (!failure.ok()) {
    // Still inside the batch: the added files were never renamed into place.
    Undo(store, added);
    (void)batch.Finish();
  } else if (Status finished = batch.Finish(); !finished.ok()) {
    failure = Status::IoError(MessageText({MessageId::kRecordsWriteFailed,
                                           {},
                                           static_cast<long long>(added.size()),
                                           finished.message()}));
    StoreBatch undo(store);
    Undo(store, added);
    (void)undo.Finish();
  }
  if (!failure.ok())
    return Status::IoError(MessageText({MessageId::kImportUndone, {}, 0, failure.message()}));
  return added;
}

Result<std::string> ReadCsvImportFile(FileSystem& files, const std::string& path) {
  const auto failed = [&path](const std::string& why) {
    return Status::IoError(MessageText({MessageId::kFileReadFailed, path, 0, why}));
  };
  Result<FileInfo> info = files.Inspect(path);
  if (!info.ok())
    return failed(info.status().message());
  if (info.value().kind != FileKind::kRegular)
    return failed("it is not a file");
  if (info.value().size > kLargestCsvImport)
    return Status::InvalidArgument(MessageText(MessageId::kImportTooLarge));
  Result<std::string> bytes = files.Read(path, kLargestCsvImport);
  if (!bytes.ok())
    return failed(bytes.status().message());
  return bytes;
}

}  // namespace paylark
