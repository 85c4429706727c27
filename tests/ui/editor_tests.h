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
  void OkStoresTheSeriesAndCancelNothing();
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
  void ClearedBoxStoresOnePlainDue();
  void EveryOtherEndingRemovesPlaceholders();
  void DatePickersKeepEachOtherInOrder();
  void TabVisitsEachFieldOnce();
  void EstimateKeepsItsWidthAndShowsTheCount();
};

class ModifyDueTest final : public QObject {
  Q_OBJECT
 private slots:
  void SingleDueIsReplacedWithoutAQuestion();
  void YesCarriesSeriesFieldsToEveryMember();
  void YesWithOnlyDatesChangedTouchesOneRecord();
  void NoChangesTheEditedRecordAlone();
  void CancelWritesNothing();
  void SheetShowsTabsWithoutRecursion();
};

}  // namespace paylark::test
