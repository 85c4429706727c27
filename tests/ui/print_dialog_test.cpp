#include <tuple>

#include <QAbstractTextDocumentLayout>
#include <QDateTimeEdit>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTest>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <clocale>

#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/print/print_dialog.h"
#include "ui/print/print_due_list.h"
#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_combo_box.h"

namespace paylark::test {
namespace {

QString SourceTemplates() {
  return qEnvironmentVariable("PAYLARK_SOURCE_DIR") + QStringLiteral("/resources/Templates");
}

// A working directory with today fixed at 15 March 2026 10:00, a page folder, and the dialog.
struct Fixture {
  Fixture() {
    app.store().SetDurability(Durability::kUnsynced);
    app.SetWorkingDirectory(work.path().toStdString());
    (void)app.store().Reload();
  }
  void Add(const std::string& title, const std::string& account, double amount,
           const OleDateTime& due, bool paid = false, const std::string& series = {}) {
    DueRecord record = DueRecord::WithDefaults(clock);
    std::tie(record.title, record.payTo, record.account) = std::tie(title, "Payee", account);
    std::tie(record.amount, record.startDate, record.dueDate) = std::tie(amount, due, due);
    std::tie(record.paid, record.seriesId) = std::tie(paid, series);
    (void)app.store().Add(record);
  }
  PrintDialog& Open(std::vector<std::string> templates = {SourceTemplates().toStdString()}) {
    places = {std::move(templates), cache.path() + QStringLiteral("/paylark")};
    dialog = std::make_unique<PrintDialog>(app, places);
    return *dialog;
  }
  // The titles of the rows, or of the checked rows only.
  QStringList Titles(bool checkedOnly = false) const {
    QStringList titles;
    for (const PrintRow& row : dialog->model().rows()) {
      if (row.checked || !checkedOnly)
        titles << QString::fromStdString(row.record.title);
    }
    return titles;
  }
  QList<bool> Checks() const {
    QList<bool> checks;
    for (const PrintRow& row : dialog->model().rows())
      checks << row.checked;
    return checks;
  }
  void SetCheck(int row, bool checked) {
    QAbstractItemModel* model = dialog->list().model();
    model->setData(model->index(row, 0), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
  }
  static void Choose(StyledComboBox& box, int index) {
    box.setCurrentIndex(index);
    emit box.activated(index);
  }
  QByteArray Page() const {
    QFile file(places.pageFolder + QStringLiteral("/print.html"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  FixedClock clock{At(2026, 3, 15, 10)};
  FakePrompt prompt;
  FakeDesktop desktop;
  PaylarkApp app{clock, prompt, desktop, SystemFileSystem()};
  QTemporaryDir work;
  QTemporaryDir cache;
  PrintPlaces places;
  std::unique_ptr<PrintDialog> dialog;
};

QDateTime Month(int month) {
  return QDateTime(QDate(2026, month, 1), QTime(0, 0), Qt::UTC);
}

}  // namespace

class PrintDialogTest final : public QObject {
  Q_OBJECT

 private slots:

  void OpensOnThisMonthWithEveryRowChecked() {
    Fixture f;
    f.Add("February rent", "Home", 800, At(2026, 2, 27));
    f.Add("Rent", "  Home ", 800, At(2026, 3, 1), true);
    f.Add("Loan", "Bank", 300, At(2026, 3, 31, 23, 59), false, "recId20260301090000");
    f.Add("Gym", "", 35, At(2026, 3, 20));
    f.Add("April rent", "Home", 800, At(2026, 4, 1));
    PrintDialog& dialog = f.Open();

    QVERIFY(dialog.isModal() && dialog.parentWidget() == nullptr);
    QCOMPARE(dialog.fromPicker().dateTime(), QDateTime(QDate(2026, 3, 15), QTime(10, 0), Qt::UTC));
    QCOMPARE(dialog.toPicker().text(), QStringLiteral("Mar, 2026"));
    QStringList march = f.Titles(true);
    march.sort();
    QCOMPARE(march, (QStringList{"Gym", "Loan", "Rent"}));
    QCOMPARE(dialog.recordsBox().currentText(), QStringLiteral("All"));
    QCOMPARE(dialog.accountBox().count(), 2);  // "Home" once, "Bank"; the empty account adds none
    QCOMPARE(dialog.accountBox().currentIndex(), -1);
  }

  void DateChangesRefillUncheckedAndRaiseToMinimum() {
    Fixture f;
    f.Add("February", "A", 1, At(2026, 2, 10));
    f.Add("March", "B", 1, At(2026, 3, 10));
    f.Add("April", "C", 1, At(2026, 4, 10));
    f.Add("June", "D", 1, At(2026, 6, 10));
    PrintDialog& dialog = f.Open();

    dialog.fromPicker().setDateTime(Month(4));
    QCOMPARE(dialog.toPicker().minimumDateTime(), Month(4));
    QCOMPARE(dialog.toPicker().date().month(), 4);  // To follows From past it
    QCOMPARE(f.Titles(), QStringList{"April"});
    QCOMPARE(f.Checks(), QList<bool>{false});

    dialog.toPicker().setDateTime(Month(6));
    QCOMPARE(f.Titles().size(), 2);
    QCOMPARE(f.Checks(), QList<bool>(2, false));

    dialog.fromPicker().setDateTime(Month(2));
    QCOMPARE(dialog.toPicker().minimumDateTime(), Month(2));
    QCOMPARE(dialog.toPicker().date().month(), 6);
    QCOMPARE(dialog.accountBox().count(), 4);  // one entry per listed due
  }

  // Each entry of the Records box applies its action, and an account checks its rows alone (what
  // each does to the marks is print_filter_test's).
  void RecordsAndAccountChoicesSetTheChecks() {
    Fixture f;
    f.Add("One", "A", 1, At(2026, 3, 1), true);
    f.Add("Two", " Home  Loan ", 1, At(2026, 3, 2));
    f.Add("Three", "A", 1, At(2026, 3, 3), true);
    PrintDialog& dialog = f.Open();
    const std::pair<int, QList<bool>> steps[] = {{2, {true, false, true}},
                                                 {3, {false, true, false}},
                                                 {4, {false, false, false}},
                                                 {0, {true, true, true}},
                                                 {1, {false, false, false}}};
    for (const auto& [entry, checks] : steps) {
      Fixture::Choose(dialog.recordsBox(), entry);
      QCOMPARE(f.Checks(), checks);
    }
    Fixture::Choose(dialog.accountBox(),
                    dialog.accountBox().findText(QStringLiteral("Home  Loan")));
    QCOMPARE(f.Titles(true), QStringList{"Two"});
  }

  void ListClickPutsRecordsBackOnAll() {
    Fixture f;
    f.Add("One", "A", 1, At(2026, 3, 1), true);
    f.Add("Two", "A", 1, At(2026, 3, 2));
    PrintDialog& dialog = f.Open();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Fixture::Choose(dialog.recordsBox(), 2);
    const QList<bool> paidOnly = f.Checks();

    const QRect firstRow = dialog.list().visualRect(dialog.list().model()->index(0, 0));
    QTest::mouseClick(dialog.list().viewport(), Qt::LeftButton, {}, firstRow.center());
    QCOMPARE(dialog.recordsBox().currentIndex(), 0);
    QCOMPARE(f.Checks(), paidOnly);
    QCOMPARE(dialog.list().currentIndex().row(), 0);

    Fixture::Choose(dialog.recordsBox(), 4);
    QTest::mouseClick(dialog.list().viewport(), Qt::LeftButton, {},
                      QPoint(10, dialog.list().viewport()->height() - 5));
    QCOMPARE(dialog.recordsBox().currentIndex(), 0);
    QCOMPARE(f.Checks(), QList<bool>(2, false));
  }

  void PrintRendersCheckedRowsAndPreviews() {
    Fixture f;
    f.Add("Rent €", "A", 850, At(2026, 3, 1), true);  // two of three titles beyond ASCII
    f.Add("Gym", "A", 35, At(2026, 3, 2));
    f.Add("Café loan", "A", 300, At(2026, 3, 3), false, "recId20260301090000");
    PrintDialog& dialog = f.Open();
    const QStringList titles = f.Titles();
    f.SetCheck(1, false);

    QTest::mouseClick(&dialog.printButton(), Qt::LeftButton);
    const QString page = QString::fromUtf8(f.Page());
    const qsizetype first = page.indexOf(QStringLiteral("1.</td>"));
    const qsizetype second = page.indexOf(QStringLiteral("2.</td>"));
    QVERIFY(first > 0 && second > first);
    QVERIFY(page.indexOf(titles[0]) > first && page.indexOf(titles[0]) < second);
    QVERIFY(page.indexOf(titles[2]) > second);
    QVERIFY(!page.contains(titles[1]));
    QVERIFY(QFile::exists(f.places.pageFolder + QStringLiteral("/recicon.bmp")));
    QCOMPARE(f.desktop.previews, 1);
    QVERIFY(f.prompt.asked.isEmpty());
    const QTextDocument& document = dialog.preview().document();
    QVERIFY(document.toPlainText().contains(titles[0]) &&
            document.toPlainText().contains(titles[2]));
    QCOMPARE(document.baseUrl(), QUrl::fromLocalFile(f.places.pageFolder + QLatin1Char('/')));
  }

  // A title of one long word once pushed the amounts off the paper, and German amounts wrapped
  // before their currency sign.
  void LongWordsWrapAndAmountsStayWholeOnEveryPage() {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    std::setlocale(LC_NUMERIC, "C");
    Fixture f;
    const std::string longWord = "https://example.org/" + std::string(160, 'x');
    for (int day = 28; day >= 1; --day)
      f.Add(day == 5 ? longWord : "Due " + std::to_string(day), "A", 1071, At(2026, 3, day));
    PrintDialog& dialog = f.Open();
    QTest::mouseClick(&dialog.printButton(), Qt::LeftButton);
    std::setlocale(LC_ALL, "C");
    QVERIFY(f.Titles().first() == QStringLiteral("Due 1"));  // due-date order

    std::unique_ptr<QTextDocument> document(dialog.preview().document().clone());
    const QSizeF page(718, 1047);  // A4's printable area at 96 dpi
    document->setPageSize(page);
    QVERIFY2(document->documentLayout()->documentSize().width() <= page.width() + 0.5,
             qPrintable(QString::number(document->documentLayout()->documentSize().width())));
    QVERIFY(document->pageCount() > 1);
    QTextTable* table = nullptr;
    for (QTextFrame* frame : document->rootFrame()->childFrames()) {
      if (auto* candidate = qobject_cast<QTextTable*>(frame); candidate && candidate->rows() > 28)
        table = candidate;
    }
    QVERIFY(table != nullptr);
    QCOMPARE(table->format().headerRowCount(), 1);  // the headings repeat on every sheet
    const QString amount = QString::fromUtf8("1.071,00 €");
    for (int row = 1; row <= 28; ++row) {
      const QTextTableCell cell = table->cellAt(row, table->columns() - 1);
      // Qt keeps a nowrap cell's blanks as no-break spaces.
      QCOMPARE(cell.firstCursorPosition().block().text().replace(QChar::Nbsp, u' '), amount);
      QCOMPARE(cell.firstCursorPosition().block().layout()->lineCount(), 1);
      // A row lies on one sheet: its first and last lines fall on the same page.
      const QTextTableCell title = table->cellAt(row, 2);
      const QTextBlock first = title.firstCursorPosition().block();
      const QTextBlock last = title.lastCursorPosition().block();
      const auto pageOf = [&](const QTextBlock& block, bool bottom) {
        const QRectF box = document->documentLayout()->blockBoundingRect(block);
        return static_cast<int>((bottom ? box.bottom() - 1 : box.top()) / page.height());
      };
      QCOMPARE(pageOf(first, false), pageOf(last, true));
    }
  }

  void NothingPreviewedWithNoRowChecked() {
    Fixture f;
    f.Add("Rent", "A", 850, At(2026, 3, 1));
    PrintDialog& dialog = f.Open();
    Fixture::Choose(dialog.recordsBox(), 4);
    dialog.show();
    dialog.printButton().setFocus();
    QTest::keyClick(&dialog.printButton(), Qt::Key_Space);
    QVERIFY(f.Page().contains("Due Date Details") && !f.Page().contains("Rent"));
    QCOMPARE(f.desktop.previews, 0);
  }

  void UnwritablePageIsToldAndStillPreviewed() {
    Fixture f;
    f.Add("Rent", "A", 850, At(2026, 3, 1));
    QTemporaryDir empty;
    PrintDialog& dialog = f.Open({empty.path().toStdString()});
    QFile blocker(f.cache.path() + QStringLiteral("/paylark"));  // a file where the folder belongs
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QTest::mouseClick(&dialog.printButton(), Qt::LeftButton);
    QCOMPARE(f.prompt.asked.size(), 1);
    QVERIFY(f.prompt.asked[0].contains(f.places.pageFolder + QStringLiteral("/print.html")));
    QCOMPARE(f.desktop.previews, 1);
    QVERIFY(dialog.preview().document().isEmpty());  // the missing template rendered nothing
  }

  void ColumnsShowDateTitlePayToAmountByDate() {
    Fixture f;
    f.Add("Cleaner", "Home", 40, At(2026, 3, 20, 9));
    f.Add("Cleaner", "Home", 45.5, At(2026, 3, 6, 9), true);
    f.Add("Cleaner", "Office", 40, At(2026, 3, 13, 9));
    PrintDialog& dialog = f.Open();
    const QAbstractItemModel& model = *dialog.list().model();
    QStringList headings;
    for (int column = 0; column < model.columnCount(); ++column)
      headings << model.headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headings, (QStringList{"Due date", "Title", "Pay To", "Amount"}));
    const auto cell = [&model](int row, int column) {
      return model.data(model.index(row, column)).toString();
    };
    QCOMPARE(cell(0, 0), QStringLiteral("03/06/2026 09:00 AM"));
    QCOMPARE(cell(1, 0), QStringLiteral("03/13/2026 09:00 AM"));
    QCOMPARE(cell(2, 0), QStringLiteral("03/20/2026 09:00 AM"));
    QCOMPARE(cell(0, 1), QStringLiteral("Cleaner"));
    QCOMPARE(cell(0, 2), QStringLiteral("Payee"));
    QCOMPARE(cell(0, 3), QStringLiteral("$45.50"));
    // The check box stays in front of each row, and a paid due is struck through.
    QCOMPARE(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(!model.data(model.index(0, 1), Qt::CheckStateRole).isValid());
    QVERIFY(model.data(model.index(0, 3), Qt::FontRole).value<QFont>().strikeOut());
    QVERIFY(!model.data(model.index(1, 3), Qt::FontRole).value<QFont>().strikeOut());
    // The date shows whole beside the check box and picture.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QFont font = model.data(model.index(0, 0), Qt::FontRole).value<QFont>();
    QVERIFY(dialog.list().columnWidth(0) > QFontMetrics(font).horizontalAdvance(cell(0, 0)) + 32);
  }

  void SnapshotsOfDialogAndPreview() {
    if (!SnapshotsWanted())
      QSKIP("PAYLARK_SNAPSHOTS names no folder for the pictures");
    Fixture f;
    f.Add("Rent", "Household", 850, At(2026, 3, 1, 9), true);
    f.Add("Electricity", "Household", 92.4, At(2026, 3, 10, 12));
    f.Add("Car insurance", "Car", 410.75, At(2026, 3, 28, 8));
    f.Add("Loan", "Bank", 300, At(2026, 3, 8, 9), true, "recId20260301090000");
    f.Add("Loan", "Bank", 300, At(2026, 3, 22, 9), false, "recId20260301090000");
    f.Add("Internet", "Household", 45, At(2026, 3, 12, 7));
    PrintDialog& dialog = f.Open();
    f.SetCheck(2, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.list().setCurrentIndex(dialog.list().model()->index(1, 0));
    Snapshot(dialog, QStringLiteral("print-dialog.png"));

    QTest::mouseClick(&dialog.printButton(), Qt::LeftButton);
    QVERIFY(f.desktop.lastPaint);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, f.desktop.lastPaint);
    preview.resize(900, 760);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    Snapshot(preview, QStringLiteral("print-preview.png"));
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::PrintDialogTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "print_dialog_test.moc"
