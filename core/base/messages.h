#pragma once

#include <string>

namespace paylark {

// Every text that Paylark shows the user comes from here, so the window and the command line say
// the same thing (and a translation has one place to start).
enum class MessageId {
  // Choosing the working directory
  kWorkingDirectoryMoved,
  kDirectoryNotFound,
  kPickDirectoryTitle,
  // Questions before deleting or changing a due or its series
  kConfirmDelete,
  kConfirmDeleteSeries,
  kModifySeriesScope,
  kScopeThisRecord,    // number: how many dues it changes
  kScopeThisAndLater,  // number: how many dues it changes
  kScopeWholeSeries,   // number: how many dues it changes
  kOverviewPaid,
  kOverviewUnpaid,
  kOverviewChartTitle,  // number: the year
  // Checks of the due editor's and the recurrence dialog's fields
  kSetRecurrencePattern,
  kInvalidRecurrenceDay,
  kInvalidRecurrenceWeek,
  kInvalidRecurrenceMonth,
  kMonthLacksDate,  // text: month name, number: day
  kInvalidRecurrenceCount,
  kSelectOneDay,
  kEnterNumber,
  kEnterNumberInRange,
  kAmountBeyondLimit,  // text: what holds the amount
  kEnterInteger,
  // Failed Excel and Word exports
  kExcelExportFailed,
  kWordExportFailed,
  // Record files the store could not read, write or remove
  kRecordFilesUnreadable,    // number: how many
  kRecordsFolderUnreadable,  // detail: why
  kRecordWriteFailed,        // text: title, detail: reason
  kRecordsWriteFailed,       // number: how many, detail: reason
  kRecordDeleteFailed,       // text: title, detail: reason
  kRecordsDeleteFailed,      // number: how many, detail: reason
  kMarkerWriteFailed,        // detail: reason
  kPatternMakesManyDues,     // number: how many
  kConfirmManyDues,          // number: how many
  // Export and print files: templates, reading, writing, limits
  kDocumentTooLarge,
  kTemplateNotFound,      // text: file name
  kFileReadFailed,        // text: path, detail: reason
  kFileWriteFailed,       // text: path, detail: reason
  kNoDuesToExport,        // text: month
  kExportTextsShortened,  // number: how many
  kExportWritten,         // text: path
  kHelpFileNotFound,      // text: path
  kHelpViewerMissing,     // text: path
  // Many-record operations in progress; number: done, detail: the total (empty when not
  // known)
  kProgressCreating,
  kProgressSaving,
  kProgressDeleting,
  kProgressLoading,    // detail: how many record files are read
  kPdfCharactersLost,  // text: the dues' titles, one a line; number: how many dues

  kSyncConflicts,        // number: how many dues have conflict copies
  kChangedElsewhere,     // the Modify sheet's question after another device changed the due
  kDueChangedSinceRead,  // a change refused: another writer changed the due's file meanwhile
  kDueDeletedSinceRead,  // a change refused: another writer removed the due's file meanwhile
  kNoSyncProgram,
  kSyncSetUpHint,  // text: where the manual's section on synchronizing is
  kSyncthingRescanning,
  kSyncthingFailed,        // detail: reason
  kWorkingDirectoryInUse,  // text: path
  // Backups of the records folder
  kBackupFailed,  // detail: reason
  kNoBackupYet,
  kRestoreTitle,
  kRestoreQuestion,
  kBackupChoice,         // text: when the backup was taken, number: how many dues it holds
  kDamagedBackupChoice,  // text: when the backup was taken
  kNothingRestored,      // detail: reason
  kRestored,             // text: when the backup was taken, number: how many dues it held
  // CSV import and the calendar feed
  kImportRowRefused,  // number: row, detail: reason
  kImportWouldAdd,    // number: how many
  kImportAdded,       // number: how many
  kImportNothingToAdd,
  kImportUndone,  // detail: what failed
  kImportTooLarge,
  kCsvNoDueColumn,
  kCsvNotUtf8,
  kCsvFieldTooLong,   // number: limit in bytes
  kCsvTooManyFields,  // number: fields in the header
  kCsvRowTooLong,     // number: limit of fields
  kCsvUnclosedQuote,
  kCsvStrayQuote,
  kCsvBadDate,  // text: column, detail: the value
  kCsvEmptyDue,
  kCsvBadType,           // detail: the value
  kCsvBadStatus,         // detail: the value
  kCsvBadAmount,         // text: the value, detail: the editor's message
  kCsvAmountNotANumber,  // text: the value, detail: the forms expected
  // Reminders
  kNoSessionBus,
  kNoNotificationServer,  // detail: reason
  kBackgroundRemindersFailed,
  kDueNotFound,  // text: record ID
  // Attachments
  kAttachmentsKeptAfterDelete,  // text: title, detail: reason
  kAttachFailed,                // detail: reason
  kAttachedDueDeleted,          // text: the attachment's name
  kConfirmRemoveAttachment,     // text: the attachment's name
  kAttachmentRemoveFailed,      // detail: reason
  kNoProgramOpens,              // text: the file's name, detail: the folder it is in
  // Recurring bills found in bank history
  kBankHistory,       // number: days, text: the first and last booking days
  kShortBankHistory,  // number: days
  kNoSeriesFound,
  kSeriesNotCreated,  // text: title, detail: reason
};

struct Message {
  MessageId id;
  std::string text;  // a name the message quotes
  long long number = 0;
  std::string detail;  // a reason the message ends with
};

inline constexpr const char* kSupportAddress = "support@paylark.org";

// The exact English text of a message.
std::string MessageText(const Message& message);
inline std::string MessageText(MessageId id) {
  return MessageText(Message{id, {}, 0, {}});
}

}  // namespace paylark
