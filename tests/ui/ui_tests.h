#pragma once

#include <QObject>

namespace paylark::test {

class StartUpTest final : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void FontsAreAvailable();
  void ValidSettingOpensWithoutAsking();
  void MissingSettingAsksWithEmptyDialog();
  void StaleSettingTellsAndAsks();
  void CancelledDialogEndsTheProgram();
  void UnreadableRecordFilesAreCounted();
  void BrowseCutsRecordsFolderAndChecksExistence();
  void OkWithEmptyPathCancels();
  void HelpOpensTheManual();
};

class MonthRowTest final : public QObject {
  Q_OBJECT
 private slots:
  void ColoursTellStateApart();
  void RowPaintsBackgroundMarksAndSelection();
  void TitleLineOmitsEmptyPayTo();
  void ShiftedMonthClampsTheDay();
  void GradientBandsRunFromTopToBottom();
};

class MainFrameTest final : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void OpensOnTodayWithSortedRowsAndSums();
  void ShiftingMonthsRefreshesAndClamps();
  void FilterChangesRowsAndSummaries();
  void SelectionFillsDetailsAndCaption();
  void DeleteSingleDueAsksYesNo();
  void DeleteSeriesMemberHonoursEveryAnswer();
  void DeleteFailureIsToldOnceNamingTheDue();
  void ToggleDetailWindowFollowsTheDock();
  void ContextMenusOfferTheRightCommands();
  void CommandsWithoutSelectionDoNothing();
  void ChangeDirectoryReloadsOnlyOnRealChange();
  void SynchronizeStartsOnlyAConfiguredManager();
  void WordAndExcelExportsGoToExportsFolder();
  void HtmlAndPdfExportsWriteTheChosenFile();
  void EmptyMonthHtmlExportAsksNothing();
  void SnapshotsOfTheWindowAndDialogs();
};

}  // namespace paylark::test
