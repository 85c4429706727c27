#include <ostream>

#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "cli/record_fields.h"
#include "core/attachments/attachment_store.h"
#include "core/attachments/due_attaching.h"
#include "core/base/locale_currency.h"
#include "core/bills/bill_due.h"
#include "core/bills/bill_reading.h"
#include "core/sync/backups.h"
#include "settings/user_settings.h"

namespace paylark::cli {
namespace {

struct BillRun {
  std::string file;
  bool dryRun = false;
  bool json = false;
};

// A bill the user named that cannot be read is an invalid argument; a failing disk is a failure.
int ExitCodeOf(const Status& status) {
  return status.code() == StatusCode::kIoError ? kExitFailed : kExitInvalid;
}

std::string FieldsJson(const DueRecord& r) {
  return "{\"title\": " + JsonString(r.title) +
         ", \"startDate\": " + JsonString(IsoDateTime(r.startDate)) +
         ", \"dueDate\": " + JsonString(IsoDateTime(r.dueDate)) +
         ", \"payTo\": " + JsonString(r.payTo) + ", \"account\": " + JsonString(r.account) +
         ", \"amount\": " + JsonNumber(r.amount) + ", \"notes\": " + JsonString(r.notes) +
         ", \"type\": " + std::to_string(r.type) + ", \"paid\": " + std::to_string(r.paid) +
         ", \"payeeAccount\": " + JsonString(r.payeeAccount) +
         ", \"creditorReference\": " + JsonString(r.creditorReference) + "}";
}

void PrintJson(const Bill& bill, const BillDue& due, const std::string& recordId,
               std::ostream& out) {
  std::string warnings;
  for (const std::string& warning : due.warnings)
    warnings += (warnings.empty() ? "" : ", ") + JsonString(warning);
  out << "{\"found\": " << JsonString(BillSourceName(bill.source))
      << ", \"fields\": " << FieldsJson(due.record) << ", \"warnings\": [" << warnings
      << "], \"recordId\": " << (recordId.empty() ? "null" : JsonString(recordId)) << "}\n";
}

// What the due would be, one "field: value" a line, for a dry run without --json.
void PrintFields(const DueRecord& r, std::ostream& out) {
  out << "Title: " << r.title << "\nPay To: " << r.payTo << "\nDue Date: " << IsoDateTime(r.dueDate)
      << "\nAmount: " << JsonNumber(r.amount) << "\nPayee IBAN: " << r.payeeAccount
      << "\nReference: " << r.creditorReference << '\n';
}

void PrintFindings(const BillDue& due, CommandContext& context) {
  if (!due.summary.empty())
    context.err << "paylark-cli: " << due.summary << '\n';
  for (const std::string& warning : due.warnings)
    context.err << "paylark-cli: " << warning << '\n';
}

// The due is written before the bill is attached, so a failed attachment leaves a due to attach
// the bill to again rather than a bill with no due.
int AddAndAttach(const BillRun& run, const BillDue& due, std::string& recordId,
                 CommandContext& context) {
  const AddResult added = context.store.Add(due.record);
  if (!added.status.ok())
    return Fail(context, kExitFailed,
                "the due " + added.recordId + " could not be saved: " + added.status.message());
  recordId = added.recordId;
  AttachmentStore attachments(context.store.files(), context.store.workingDirectory());
  const Result<std::string> attached = AttachToDue(context.store, attachments, recordId, run.file,
                                                   BackupsFolder(context.store.workingDirectory()));
  if (!attached.ok())
    return Fail(context, kExitFailed,
                "the due " + recordId + " was added, but the bill could not be attached to it: " +
                    attached.status().message());
  return kExitSuccess;
}

}  // namespace

int RunAddFromBill(const std::string& file, Arguments& arguments, CommandContext& context) {
  const BillRun run{file, arguments.TakeFlag("--dry-run"), arguments.TakeFlag("--json")};
  const Result<Bill> bill = ReadBillFile(context.store.files(), run.file);
  if (!bill.ok())
    return Fail(context, ExitCodeOf(bill.status()), bill.status().message());
  const BillDueOptions options{context.clock.Now(), UserSettings::Read(settings::kBillDaysToPay),
                               LocaleCurrencyCode()};
  BillDue due = DueFromBill(bill.value(), DueRecord::WithDefaults(context.clock), options);
  // Fields given on the command line win over the bill's.
  if (auto problem = TakeRecordFields(arguments, due.record))
    return UsageError(context, *problem);
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  ApplyEditorDefaults(due.record);
  std::string recordId;
  int code = kExitSuccess;
  if (!run.dryRun)
    code = AddAndAttach(run, due, recordId, context);
  if (run.json) {
    PrintJson(bill.value(), due, recordId, context.out);
  } else {
    PrintFindings(due, context);
    if (run.dryRun)
      PrintFields(due.record, context.out);
    else if (!recordId.empty())
      context.out << recordId << '\n';
  }
  return code;
}

}  // namespace paylark::cli
