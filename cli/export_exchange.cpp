#include "cli/export_exchange.h"

#include "cli/exit_code.h"
#include "core/exchange/calendar_feed.h"
#include "core/exchange/csv_export.h"
#include "core/export/document_file.h"
#include "settings/user_settings.h"

namespace paylark::cli {
namespace {

int Write(const std::string& output, const std::string& bytes, CommandContext& context) {
  if (Status written = WriteDocument(output, bytes, context.store.files()); !written.ok())
    return Fail(context, kExitFailed, written.message());
  return kExitSuccess;
}

bool Passes(const DueRecord& due, MonthFilter filter) {
  switch (filter) {
    case MonthFilter::kPaidOnly:
      return IsPaid(due);
    case MonthFilter::kUnpaidOnly:
      return !IsPaid(due);
    case MonthFilter::kAll:
      break;
  }
  return true;
}

}  // namespace

std::vector<DueRecord> RangeRows(const RecordStore& store, const MonthRange& range,
                                 MonthFilter filter) {
  std::vector<DueRecord> rows;
  if (range.first) {
    rows = RangeFill(store, *range.first, range.last.value_or(*range.first));
  } else {
    store.map().ForEach([&](const DueRecord& due) { rows.push_back(due); });
  }
  std::erase_if(rows, [&](const DueRecord& due) { return !Passes(due, filter); });
  SortByDueDate(rows);
  return rows;
}

int ExportCalendar(const std::vector<DueRecord>& rows, const std::string& output,
                   CommandContext& context) {
  const CalendarOptions options{context.clock.Now(),
                                UserSettings::Read(settings::kReminderDaysAhead)};
  return Write(output, RenderCalendar(rows, options), context);
}

int ExportCsv(const std::vector<DueRecord>& rows, const std::string& output,
              CommandContext& context) {
  return Write(output, RenderCsv(rows), context);
}

}  // namespace paylark::cli
