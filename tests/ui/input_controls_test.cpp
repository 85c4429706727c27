#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "tests/ui/editor_tests.h"
#include "ui/widgets/date_picker.h"
#include "ui/widgets/filtered_line_edit.h"

namespace paylark::test {

void InputControlsTest::AmountTakesDigitsAndOnePoint() {
  FilteredLineEdit amount(FilteredLineEdit::Filter::kAmount);
  QTest::keyClicks(&amount, "12.5.0");
  QCOMPARE(amount.text(), QStringLiteral("12.50"));
  QTest::keyClicks(&amount, "-$#%' a+e");
  QCOMPARE(amount.text(), QStringLiteral("12.50"));
  QTest::keyClick(&amount, Qt::Key_Backspace);
  QTest::keyClick(&amount, Qt::Key_Home);
  QTest::keyClick(&amount, Qt::Key_Delete);
  QCOMPARE(amount.text(), QStringLiteral("2.5"));

  // A selected point still counts: typing another one over it is dropped and the selection stays.
  amount.setText(QStringLiteral("."));
  amount.selectAll();
  QTest::keyClick(&amount, '.');
  QCOMPARE(amount.text(), QStringLiteral("."));
  QVERIFY(amount.hasSelectedText());
}

void InputControlsTest::NumberTakesDigitsOnly() {
  FilteredLineEdit number(FilteredLineEdit::Filter::kNumber);
  QTest::keyClicks(&number, "7a3.-$#%' ");
  QCOMPARE(number.text(), QStringLiteral("73"));
  QTest::keyClick(&number, Qt::Key_Backspace);
  QCOMPARE(number.text(), QStringLiteral("7"));
}

void InputControlsTest::ClipboardShortcutsDoNothing() {
  QApplication::clipboard()->setText(QStringLiteral("99"));
  FilteredLineEdit amount(FilteredLineEdit::Filter::kAmount);
  FilteredLineEdit number(FilteredLineEdit::Filter::kNumber);
  for (QLineEdit* field : {static_cast<QLineEdit*>(&amount), static_cast<QLineEdit*>(&number)}) {
    field->setText(QStringLiteral("15"));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), QStringLiteral("15"));
  }
  QTest::keyClick(&amount, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("99"));
}

void InputControlsTest::PickersFollowTheLocaleAndMoveBySection() {
  QCOMPARE(DatePicker::DisplayFormat(QLocale(QLocale::English, QLocale::UnitedStates)),
           QStringLiteral("MM/dd/yyyy  hh:mm:ss AP"));
  QCOMPARE(DatePicker::DisplayFormat(QLocale::c()), QStringLiteral("MM/dd/yyyy  hh:mm:ss AP"));
  const QString german = DatePicker::DisplayFormat(QLocale(QLocale::German, QLocale::Germany));
  QCOMPARE(german, QStringLiteral("dd.MM.yyyy HH:mm"));

  QWidget window;
  auto* before = new QLineEdit(&window);
  auto* picker = new DatePicker(&window);
  auto* after = new QLineEdit(&window);
  picker->SetValue(OleDateTime::FromCivil(2026, 12, 28, 23, 59).value());
  picker->setDisplayFormat(german);
  QCOMPARE(picker->text(), QStringLiteral("28.12.2026 23:59"));
  picker->setDisplayFormat(DatePicker::DisplayFormat(QLocale::system()));
  QCOMPARE(picker->text(), QStringLiteral("12/28/2026  11:59:00 PM"));
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));

  // One Tab in, one Tab out, whichever section is current.
  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), picker);
  QCOMPARE(picker->currentSection(), QDateTimeEdit::MonthSection);
  QTest::keyClick(picker, Qt::Key_Right);
  QTest::keyClick(picker, Qt::Key_Right);
  QCOMPARE(picker->currentSection(), QDateTimeEdit::YearSection);
  QTest::keyClick(picker, Qt::Key_Up);
  QCOMPARE(picker->date().year(), 2027);
  QTest::keyClick(picker, Qt::Key_Left);
  QCOMPARE(picker->currentSection(), QDateTimeEdit::DaySection);
  QTest::keyClick(picker, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), after);
  QTest::keyClick(after, Qt::Key_Backtab);
  QCOMPARE(QApplication::focusWidget(), picker);
  QTest::keyClick(picker, Qt::Key_Backtab);
  QCOMPARE(QApplication::focusWidget(), before);
}

}  // namespace paylark::test
