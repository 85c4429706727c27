#include "core/base/messages.h"

namespace paylark {
namespace {

std::string Quoted(const std::string& title) {
  return "\"" + title + "\"";
}

std::string CountOf(const Message& m) {
  return std::to_string(m.number) + (m.detail.empty() ? std::string() : " of " + m.detail);
}

std::string DuesCount(long long count) {
  return std::to_string(count) + (count == 1 ? " due" : " dues");
}

}  // namespace

// One case per message: a table in the form of code, long by nature.
std::string MessageText(const Message& m) {  // NOLINT(readability-function-size)
  switch (m.id) {
    case MessageId::kWorkingDirectoryMoved:
      return "The working directory is moved or deleted. Please set the working directory to "
             "continue.";
    case MessageId::kDirectoryNotFound:
      return "The directory you have selected does not exists or it is a write protected "
             "medium.";
    case MessageId::kPickDirectoryTitle:
      return "Pick a Directory";
    case MessageId::kConfirmDelete:
      return "Are you sure want to delete this record?";
    case MessageId::kConfirmDeleteSeries:
      return "This is a recursive due. Select \"Yes\" to delete the whole series or \"No\" to "
             "delete this record alone.";
    case MessageId::kModifySeriesScope:
      return "This due is part of a series. Which dues should a new title, pay-to, account, "
             "amount or type reach? Dates, notes and the paid state change on this due only.";
    case MessageId::kScopeThisRecord:
      return "This due only: " + DuesCount(m.number);
    case MessageId::kScopeThisAndLater:
      return "This and later dues: " + DuesCount(m.number) + ", paid ones stay as they are";
    case MessageId::kScopeWholeSeries:
      return "The whole series: " + DuesCount(m.number) + ", paid ones too";
    case MessageId::kOverviewPaid:
      return "Paid";
    case MessageId::kOverviewUnpaid:
      return "Unpaid";
    case MessageId::kOverviewChartTitle:
      return "Paid and unpaid by month, " + std::to_string(m.number);
    case MessageId::kSetRecurrencePattern:
      return "Please set the Recurrence Pattern.";
    case MessageId::kInvalidRecurrenceDay:
      return "Please enter valid recurrence day";
    case MessageId::kInvalidRecurrenceWeek:
      return "Please enter valid recurrence week";
    case MessageId::kInvalidRecurrenceMonth:
      return "Please enter valid recurrence month";
    case MessageId::kMonthLacksDate:
      return "Month " + m.text + " does not have date " + std::to_string(m.number);
    case MessageId::kInvalidRecurrenceCount:
      return "Please enter valid number of recurrences";
    case MessageId::kSelectOneDay:
      return "Atleast one day should be selected!";
    case MessageId::kEnterNumber:
      return "Please enter a number.";
    case MessageId::kEnterNumberInRange:
      return "Please enter a number between 0 and 10,000,000,000,000.";
    case MessageId::kAmountBeyondLimit:
      return "The amount of " + m.text +
             " is beyond 10,000,000,000,000 (ten trillion), the most Paylark keeps.";
    case MessageId::kEnterInteger:
      return "Please enter an integer.";
    case MessageId::kExcelExportFailed:
      return std::string(
                 "There was a problem exporting the document to MS Excel\nPlease contact ") +
             kSupportAddress + " for further queries.";
    case MessageId::kWordExportFailed:
      return "Error !!!";
    case MessageId::kRecordsFolderUnreadable:
      return "The records folder cannot be read, so no due is shown: " + m.detail;
    case MessageId::kRecordFilesUnreadable:
      return m.number == 1 ? "1 record file could not be read"
                           : std::to_string(m.number) + " record files could not be read";
    case MessageId::kRecordWriteFailed:
      return "The due " + Quoted(m.text) + " could not be saved: " + m.detail;
    case MessageId::kRecordsWriteFailed:
      return std::to_string(m.number) + " dues could not be saved: " + m.detail;
    case MessageId::kRecordDeleteFailed:
      return "The due " + Quoted(m.text) + " could not be deleted: " + m.detail;
    case MessageId::kRecordsDeleteFailed:
      return std::to_string(m.number) + " dues could not be deleted: " + m.detail;
    case MessageId::kMarkerWriteFailed:
      return "The change was saved, but the change marker could not be written: " + m.detail;
    case MessageId::kPatternMakesManyDues:
      return "This pattern makes " + std::to_string(m.number) + " dues";
    case MessageId::kConfirmManyDues:
      return "This pattern makes " + std::to_string(m.number) +
             " dues. Do you want to make them all?";
    case MessageId::kDocumentTooLarge:
      return "The document would be larger than 64 MiB, so nothing was written.";
    case MessageId::kTemplateNotFound:
      return "The template file " + Quoted(m.text) + " could not be found.";
    case MessageId::kFileReadFailed:
      return "The file " + Quoted(m.text) + " could not be read: " + m.detail;
    case MessageId::kFileWriteFailed:
      return "The file " + Quoted(m.text) + " could not be written: " + m.detail;
    case MessageId::kNoDuesToExport:
      return "There are no dues in " + m.text + ", so no file was written.";
    case MessageId::kExportTextsShortened:
      return m.number == 1 ? "1 text was longer than 32,767 characters and was cut."
                           : std::to_string(m.number) +
                                 " texts were longer than 32,767 characters and were cut.";
    case MessageId::kExportWritten:
      return "Exported to " + m.text;
    case MessageId::kHelpFileNotFound:
      return "The help file " + Quoted(m.text) + " could not be found.";
    case MessageId::kProgressCreating:
      return "Creating dues: " + CountOf(m);
    case MessageId::kProgressSaving:
      return "Saving dues: " + CountOf(m);
    case MessageId::kProgressDeleting:
      return "Deleting dues: " + CountOf(m);
    case MessageId::kProgressLoading:
      return "Loading " + m.detail + " dues\u2026";
    case MessageId::kHelpViewerMissing:
      return "No program to show the help file was found. The manual is " + Quoted(m.text) + ".";
    case MessageId::kPdfCharactersLost:
      return std::string(m.number == 1 ? "1 due has" : std::to_string(m.number) + " dues have") +
             " characters that no installed font can show; they appear as \"?\" in the PDF:\n" +
             m.text;
    case MessageId::kSyncConflicts:
      return m.number == 1 ? "1 sync conflict" : std::to_string(m.number) + " sync conflicts";
    case MessageId::kChangedElsewhere:
      return "This due was changed elsewhere while you edited it.";
    case MessageId::kDueChangedSinceRead:
      return "This due was changed elsewhere since Paylark read it; nothing was written. The due "
             "now shows the other change: make yours again.";
    case MessageId::kDueDeletedSinceRead:
      return "This due was deleted elsewhere since Paylark read it; nothing was written.";
    case MessageId::kNoSyncProgram:
      return "No synchronization program is set up for this working directory.";
    case MessageId::kSyncSetUpHint:
      return "To set one up, see \"Synchronize\" in the manual: " + m.text;
    case MessageId::kSyncthingRescanning:
      return "Syncthing is rescanning the records folder...";
    case MessageId::kSyncthingFailed:
      return "Syncthing could not rescan the records folder: " + m.detail;
    case MessageId::kWorkingDirectoryInUse:
      return "The working directory \"" + m.text +
             "\" is already open in another Paylark window. This window stays on its working "
             "directory.";
    case MessageId::kBackupFailed:
      return "No backup was taken: " + m.detail;
    case MessageId::kNoBackupYet:
      return "There is no backup of this working directory yet.";
    case MessageId::kRestoreTitle:
      return "Restore from Backup";
    case MessageId::kRestoreQuestion:
      return "Replace every due with those of:";
    case MessageId::kBackupChoice:
      return m.text + " (" + std::to_string(m.number) + " dues)";
    case MessageId::kDamagedBackupChoice:
      return m.text + " (damaged)";
    case MessageId::kNothingRestored:
      return "Nothing was restored: " + m.detail;
    case MessageId::kRestored:
      return (m.number == 1 ? std::string("1 due was") : std::to_string(m.number) + " dues were") +
             " restored from the backup of " + m.text + ".";
    case MessageId::kImportRowRefused:
      return "row " + std::to_string(m.number) + ": " + m.detail;
    case MessageId::kImportWouldAdd:
      return m.number == 1 ? "1 due would be added"
                           : std::to_string(m.number) + " dues would be added";
    case MessageId::kImportAdded:
      return m.number == 1 ? "1 due was added" : std::to_string(m.number) + " dues were added";
    case MessageId::kImportNothingToAdd:
      return "The file holds no dues to add.";
    case MessageId::kImportUndone:
      return m.detail + " Nothing was imported.";
    case MessageId::kImportTooLarge:
      return "The file is larger than 256 MiB, so it was not read.";
    case MessageId::kCsvNoDueColumn:
      return "the header names no Due column";
    case MessageId::kCsvNotUtf8:
      return "the text is not UTF-8";
    case MessageId::kCsvFieldTooLong:
      return "a field is longer than " + std::to_string(m.number) + " bytes";
    case MessageId::kCsvTooManyFields:
      return "more fields than the header's " + std::to_string(m.number);
    case MessageId::kCsvRowTooLong:
      return "a row has more than " + std::to_string(m.number) + " fields";
    case MessageId::kCsvUnclosedQuote:
      return "a quoted field is not closed";
    case MessageId::kCsvStrayQuote:
      return "a quoted field goes on after its closing quote";
    case MessageId::kCsvBadDate:
      return m.text + " is not a date as YYYY-MM-DD HH:MM:SS: " + Quoted(m.detail);
    case MessageId::kCsvEmptyDue:
      return "Due is empty";
    case MessageId::kCsvBadType:
      return "Type must be Business, Personal or Income: " + Quoted(m.detail);
    case MessageId::kCsvBadStatus:
      return "Status must be Paid or Unpaid: " + Quoted(m.detail);
    case MessageId::kCsvBadAmount:
      return "Amount " + Quoted(m.text) + ": " + m.detail;
    case MessageId::kCsvAmountNotANumber:
      return "Amount " + Quoted(m.text) + " is not a number as " + m.detail;
    case MessageId::kNoSessionBus:
      return "No desktop session bus was found, so the reminder could not be shown.";
    case MessageId::kNoNotificationServer:
      return "No notification service answered on the session bus, so the reminder could not "
             "be shown: " +
             m.detail;
    case MessageId::kBackgroundRemindersFailed:
      return "Reminders while Paylark is closed could not be turned on: neither systemd nor the "
             "autostart folder could be used.";
    case MessageId::kDueNotFound:
      return "No due has the record ID \"" + m.text + "\".";
    case MessageId::kAttachmentsKeptAfterDelete:
      return "The due " + Quoted(m.text) +
             " was deleted, but not all of its attachments could be moved to the backups "
             "folder; they stay in the records folder's Attachments folder: " +
             m.detail;
    case MessageId::kAttachFailed:
      return "The file could not be attached: " + m.detail;
    case MessageId::kAttachedDueDeleted:
      return "The due was deleted elsewhere while " + Quoted(m.text) +
             " was attached; the copy went to the backups folder with the due's other "
             "attachments.";
    case MessageId::kConfirmRemoveAttachment:
      return "Remove " + Quoted(m.text) + " from this due? A copy is kept in the backups folder.";
    case MessageId::kAttachmentRemoveFailed:
      return "The attachment could not be removed: " + m.detail;
    case MessageId::kNoProgramOpens:
      return "No program on this computer is set up to open " + Quoted(m.text) +
             ". The file is in " + m.detail;
    case MessageId::kBankHistory:
      return std::to_string(m.number) + (m.number == 1 ? " day" : " days") + " of bank history, " +
             m.text + ".";
    case MessageId::kShortBankHistory:
      return "Only " + std::to_string(m.number) + (m.number == 1 ? " day" : " days") +
             " of bank history: bills that recur monthly or less often need three months to "
             "show, so only weekly ones were looked for.";
    case MessageId::kNoSeriesFound:
      return "No recurring bills were found in these statements.";
    case MessageId::kSeriesNotCreated:
      return "The series " + Quoted(m.text) + " could not be created: " + m.detail +
             " Nothing of it was written.";
  }
  return {};
}

}  // namespace paylark
