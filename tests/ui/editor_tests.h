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
  void ATypedStartIsTakenOrRefusedWhole();
  void OkCountsTheSeriesAndWritesNothing();
  void ManyDuesAreMadeOnlyWhenTheUserSaysSo();
};

class NewDueTest final : public QObject {
  Q_OBJECT
 private slots:
  void SingleDueGetsDefaultsAndKeepsItsNotes();
  void FieldsAreCheckedOnNext();
  void SecondPatternReplacesTheFirstAndOffsetApplies();
  void WeekendChoiceMovesOnlyTheDueDates();
  void EveryOtherEndingRemovesPlaceholders();
  void DatePickersKeepEachOtherInOrder();
  void TabVisitsEachFieldOnceAndLeavesOutTheDatesASeriesSets();
  void EstimateKeepsItsWidthAndShowsTheCount();
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
  void OpensOnNowTheDuesAmountAndRefusesABadOne();
  void TheAmountFollowsTheLocale();
  void ThePaidBoxTakesTheDefaultsAndUnpaidClearsThem();
  void AWholeSeriesChangeNeverCopiesPayments();
  void APaidDueShowsItsPaymentBeforeItIsReplaced();
  void PayInPartLeavesTheDueUnpaidUntilThePartsReachIt();
};

}  // namespace paylark::test
