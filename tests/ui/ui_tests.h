#pragma once

#include <QObject>

namespace paylark::test {

class StartUpTest final : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void TheWindowIconIsDrawnOnAnotherThreadAsTheSvgDrawsIt();
  void IconsAreDrawnAsQtDrawsTheirSvg();
  void TheStoredFolderOpensOrOneIsAskedFor();
  void TermAndInterruptAskTheEventLoopToQuit();
  void UnreadableRecordFilesAreCounted();
  void AnUnreadableRecordsFolderIsSaidToBeSo();
  void AStartFromTheSnapshotIsCheckedAgainstTheFolder();
  void BrowseCutsRecordsFolderAndChecksExistence();
  void OkWaitsForAFolder();
  void HelpOpensTheManualOrSaysWhyNot();
};

class MonthRowTest final : public QObject {
  Q_OBJECT
 private slots:
  void ColoursTellStateApart();
  void RowPaintsBackgroundMarksAndSelection();
  void TitleLineOmitsEmptyPayTo();
  void ShiftedMonthClampsTheDay();
  void GradientBandsRunFromTopToBottom();
  void NarrowRowsElideTheTitleAndKeepAmountOffTheDate();
  void DoubleScaleRowsKeepTheirPlaces();
};

class MainFrameTest final : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void OpensOnTodayWithSortedRowsAndSums();
  void MonthsTurnAndTheWindowClosesFromTheKeyboard();
  void FilterChangesRowsAndSummaries();
  void SelectionFillsDetailsAndCaption();
  void DeleteSingleDueAsksYesNoAndTheChangeIsAnnounced();
  void FeaturesAddNamedCommandsAtTheirMenuPlace();
  void DeleteSeriesMemberHonoursEveryAnswer();
  void DeleteFailureIsToldOnceNamingTheDue();
  void ChangeMarkerFailureIsAWarningAfterTheChange();
  void ContextMenusOfferTheRightCommands();
  void CommandsWithoutSelectionDoNothing();
  void TheChangedDueStaysSelected();
  void PaidDuesShowWhatWasPaid();
  void ChangeDirectoryReloadsOnlyOnRealChange();
  void SynchronizeStartsOnlyAConfiguredManager();
  void WordAndExcelExportsGoToExportsFolder();
  void HtmlAndPdfExportsWriteTheChosenFile();
  void EmptyMonthExportsSayThereAreNoDues();
  void ExportDoneMessageOffersOpenAndFolder();
  void NarrowWindowKeepsRowsReadable();
  void HugeSumsGiveWayToTheUnreadableNote();
  void LongSeriesDeleteShowsProgress();
  void LoadingManyFilesShowsProgress();
  void TheWindowOpensInTheListAndTabWalksItMarkingThePaneWithTheKeys();
  void EveryIconDrawsWhenFirstAskedFor();
  void SnapshotsOfTheWindowAndDialogs();
};

class OverviewTest final : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void SearchListsDuesOfEveryMonthWhileTyping();
  void ChosenResultOpensItsMonthAndSelectsIt();
  void YearOverviewShowsMonthsChartAndPayees();
  void SeriesHistoryShowsTheMembersAsAChartAndATable();
  void YearOverviewFollowsTheLocale();
};

class ForecastWindowTest final : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void ShowsTheAccountsBalanceChartAndRegister();
  void EveryBalanceFollowsFromTheRowsAboveIt();
  void ARowFarBelowTheScreenIsNotCutShort();
  void WarnsInRedAndTakesANewBalance();
  void UpdateBalanceTakesADateAndKeepsARefusedText();
  void IncomesShowApartFromTheBills();
  void TheCaptionStripWarnsOfALowBalanceAndOpensTheForecast();
};

}  // namespace paylark::test
