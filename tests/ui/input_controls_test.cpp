#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "tests/ui/editor_tests.h"
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

}  // namespace paylark::test
