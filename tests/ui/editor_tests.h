#pragma once

#include <QObject>

namespace paylark::test {

class InputControlsTest final : public QObject {
  Q_OBJECT
 private slots:
  void AmountTakesDigitsAndOnePoint();
  void NumberTakesDigitsOnly();
  void ClipboardShortcutsDoNothing();
  void PickersFollowTheLocaleAndMoveBySection();
};

class RecurrenceDialogTest final : public QObject {
  Q_OBJECT
 private slots:
  void OpensOnTheDefaultsOfNow();
  void ValidationMessagesComeInOrder();
  void LastWeekdayCannotBeCleared();
  void SwitchingKindsKeepsEveryInput();
  void PickersKeepStartAndEndByInOrder();
  void ASeriesEndingAfterACountMayStartLater();
  void AStartPastEndByIsRefusedNotMangled();
  void OkCountsTheSeriesAndWritesNothing();
  void ManyDuesAreMadeOnlyWhenTheUserSaysSo();
};

class NewDueTest final : public QObject {
  Q_OBJECT
 private slots:
  void SingleDueGetsDefaultTitleAndPayTo();
  void NotesSurviveBackAndKeepLineBreaks();
  void FieldsAreCheckedOnNext();
  void RecursiveDueNeedsAPattern();
  void SecondPatternReplacesTheFirstAndOffsetApplies();
  void WeekendChoiceMovesOnlyTheDueDates();
  void EveryOtherEndingRemovesPlaceholders();
  void DatePickersKeepEachOtherInOrder();
  void TabVisitsEachFieldOnceAndLeavesOutTheDatesASeriesSets();
  void EstimateKeepsItsWidthAndShowsTheCount();
  void SeriesIsWrittenOnlyAtFinish();
  void WizardFitsASmallScreen();
};

class ModifyDueTest final : public QObject {
  Q_OBJECT
 private slots:
  void SingleDueIsReplacedWithoutAQuestion();
  void EachAnswerReachesItsMembers();
  void ScopeQuestionOffersThreeAnswers();
  void CancelWritesNothing();
  void SheetShowsTabsWithoutRecursion();
  void AmountsAreReadAndShownInTheLocale();
  void ASeriesCarriesItsContractsNoticePeriod();
};

class MarkPaidTest final : public QObject {
  Q_OBJECT
 private slots:
  void OpensOnNowTheDuesAmountAndNoReference();
  void ABadAmountIsRefusedAndCancelWritesNothing();
  void TheAmountFollowsTheLocale();
  void ThePaidBoxTakesTheDefaultsAndUnpaidClearsThem();
  void AWholeSeriesChangeNeverCopiesPayments();
  void APaidDueShowsItsPaymentBeforeItIsReplaced();
  void PayInPartLeavesTheDueUnpaidUntilThePartsReachIt();
};

}  // namespace paylark::test
