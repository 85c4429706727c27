#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <iterator>
#include <memory>

#include "core/exchange/csv_import.h"
#include "core/records/series_history.h"
#include "core/sync/backups.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/attachments/attachments_page.h"
#include "ui/base/message_box_prompt.h"
#include "ui/base/print_preview.h"
#include "ui/base/series_question.h"
#include "ui/editor/details_page.h"
#include "ui/editor/mark_paid_dialog.h"
#include "ui/editor/modify_sheet.h"
#include "ui/editor/notes_page.h"
#include "ui/exchange/calendar_preferences_dialog.h"
#include "ui/exchange/import_dialog.h"
#include "ui/forecast/forecast_window.h"
#include "ui/forecast/update_balance_dialog.h"
#include "ui/print/print_dialog.h"
#include "ui/recurrence/recurrence_dialog.h"
#include "ui/reminders/reminder_preferences_dialog.h"
#include "ui/shell/about_dialog.h"
#include "ui/shell/caption_strip.h"
#include "ui/shell/main_window.h"
#include "ui/shell/search_box.h"
#include "ui/shell/series_history_window.h"
#include "ui/shell/working_directory_dialog.h"
#include "ui/shell/year_overview.h"
#include "ui/statements/statement_columns_dialog.h"
#include "ui/statements/statement_preview_dialog.h"
#include "ui/sync/conflict_resolver_dialog.h"

namespace paylark::test {
namespace {

// The screen this program's windows open on: a netbook's, without room to spare.
constexpr QSize kRoom(640, 420);

// A CSV file of more dues than the preview shows at once, with long titles.
std::string ManyDuesCsv() {
  std::string csv = "Title,Pay To,Amount,Due,Type,Status,Series,Notes\r\n";
  for (int day = 1; day <= 28; ++day) {
    csv +=
        "Quarterly water and sewage charge for the flat,Stadtwerke Musterstadt GmbH,"
        "1234.50,2026-04-" +
        std::string(day < 10 ? "0" : "") + std::to_string(day) + ",,,,\r\n";
  }
  return csv;
}

// A due with a conflict copy beside it, as Syncthing leaves one.
void AddConflict(Workspace& ws) {
  const std::string id =
      ws.AddDue("Rent for the flat in the Hauptstraße", "Landlord", 850, At(2026, 3, 1, 9));
  const QString records =
      ws.directory() + QStringLiteral("/Paylark Files/duedate") + QString::fromStdString(id);
  QVERIFY(QFile::copy(records + QStringLiteral(".due"),
                      records + QStringLiteral(".sync-conflict-20260315-100500-PHONE77.due")));
}

// A bank's CSV export with more columns than fit side by side, and long names.
BankCsvShape WideBankCsv() {
  BankCsvShape shape;
  shape.separator = ';';
  shape.decimalMark = ',';
  shape.dateForm = "dd.mm.yyyy";
  shape.header = {"Buchungstag",      "Valutadatum", "Auftraggeber/Empfänger",
                  "Verwendungszweck", "Kontonummer", "Bankleitzahl",
                  "Betrag",           "Währung",     "Kundenreferenz"};
  for (int row = 0; row < 20; ++row) {
    shape.sampleRows.push_back({"01.03.2026", "01.03.2026", "Stadtwerke Musterstadt GmbH",
                                "Abschlag Strom und Gas März 2026 Vertragskonto 4711",
                                "DE02120300000000202051", "BYLADEM1001", "-92,10", "EUR",
                                "KREF-2026-03-0001"});
  }
  shape.guessedColumns.date = 0;
  shape.guessedColumns.amount = 6;
  return shape;
}

// A month's statement whose transactions each matched a due with a long title.
std::unique_ptr<QDialog> StatementPreview(Workspace& ws) {
  Statement statement;
  statement.account = "DE02 1203 0000 0000 2020 51 (Girokonto)";
  statement.periodStart = At(2026, 3, 1);
  statement.periodEnd = At(2026, 3, 31);
  statement.closingBalance = StatementBalance{At(2026, 3, 31), 123456789};
  StatementMatching matching;
  matching.accountNamedByNoDue = true;
  for (int day = 1; day <= 28; ++day) {
    const std::string id = ws.AddDue("Quarterly water and sewage charge for the flat",
                                     "Stadtwerke Musterstadt GmbH", 1234.50, At(2026, 3, day, 9));
    StatementTransaction& booking = statement.transactions.emplace_back();
    booking.id = "T" + std::to_string(day);
    booking.bookingDate = At(2026, 3, day);
    booking.amount = -123450;
    booking.counterparty = "Stadtwerke Musterstadt GmbH";
    booking.memo = "Abschlag Wasser und Abwasser Vertragskonto 4711";
    matching.matches.push_back({statement.transactions.size() - 1,
                                id,
                                0.9,
                                day % 2 == 0,
                                {0, 123450, 0, MatchEvidence::kName, {}, {}},
                                false});
  }
  return std::make_unique<StatementPreviewDialog>(
      QStringLiteral("Umsaetze_Girokonto.csv"), statement, matching, ws.app.store().map(),
      std::vector<std::string>{statement.account, "Haushaltskonto"});
}

struct Case {
  const char* name;
  std::function<std::unique_ptr<QDialog>(Workspace&)> open;
  QStringList buttons;  // the texts of the buttons that must stay in sight, without '&'
};

// The money plan's windows.
std::vector<Case> MoneyPlanCases() {
  return {
      {"Forecast",
       [](Workspace& ws) {
         return std::make_unique<ForecastWindow>(ws.app.store(), ws.clock, ws.prompt);
       },
       {"Close", "Update Balance…"}},
      {"Mark paid",
       [](Workspace& ws) {
         DueRecord due;
         due.title = "Quarterly water and sewage charge for the flat";
         due.amount = 1234.5;
         return std::make_unique<MarkPaidDialog>(due, ws.clock.Now(), ws.prompt);
       },
       {"OK", "Cancel"}},
      {"Update balance",
       [](Workspace& ws) {
         return std::make_unique<UpdateBalanceDialog>(
             QStringLiteral("Girokonto bei der Stadtsparkasse Musterstadt"), ws.clock.Now(),
             ws.prompt);
       },
       {"OK", "Cancel"}},
      {"Series history",
       [](Workspace& ws) {
         for (int month = 1; month <= 12; ++month)
           ws.AddDue("Power", "City Power", 80 + month, At(2026, month, 1, 9), month < 3, "recIdP");
         return std::make_unique<SeriesHistoryWindow>(SeriesHistory(ws.app.store(), "recIdP"));
       },
       {"Close"}},
  };
}

std::vector<Case> Cases() {
  std::vector<Case> cases = {
      {"Modify sheet",
       [](Workspace& ws) {
         return std::make_unique<ModifySheet>(new DetailsPage(ws.app, SheetMode::kModify, RunModal),
                                              new NotesPage, new AttachmentsPage(ws.app), nullptr);
       },
       {"OK", "Cancel"}},
      {"Recurrence Pattern",
       [](Workspace& ws) { return std::make_unique<RecurrenceDialog>(ws.app); },
       {"OK", "Cancel"}},
      {"Print",
       [](Workspace& ws) { return std::make_unique<PrintDialog>(ws.app, PrintPlaces{}); },
       {"Print", "Cancel"}},
      {"Import CSV",
       [](Workspace& ws) {
         return std::make_unique<ImportDialog>(QStringLiteral("bills.csv"),
                                               PlanCsvImport(ManyDuesCsv(), ws.clock));
       },
       {"Import", "Cancel"}},
      {"Statement columns",
       [](Workspace&) {
         return std::make_unique<StatementColumnsDialog>(QStringLiteral("Umsaetze_Girokonto.csv"),
                                                         WideBankCsv(), BankCsvColumns{});
       },
       {"OK", "Cancel"}},
      {"Statement preview", StatementPreview, {"Import", "Cancel"}},
      {"Sync conflicts",
       [](Workspace& ws) {
         AddConflict(ws);
         return std::make_unique<ConflictResolverDialog>(ws.app.store(),
                                                         BackupsFolder(ws.app.workingDirectory()));
       },
       {"Close", "Keep This Version"}},
      {"Reminder preferences",
       [](Workspace& ws) { return std::make_unique<ReminderPreferencesDialog>(ws.app); },
       {"OK", "Cancel"}},
      {"Calendar preferences",
       [](Workspace& ws) {
         return std::make_unique<CalendarPreferencesDialog>(
             true, ws.directory() + QStringLiteral("/Exports/Paylark calendar feed.ics"),
             CalDavSettings{true, QStringLiteral("https://dav.example.org/"),
                            QStringLiteral("alice"), QString()},
             QStringLiteral("Last sync: 3/15/26 10:00 AM, 12 written, 0 removed, 480 unchanged"));
       },
       {"OK", "Cancel"}},
      {"Export (save as)",
       [](Workspace& ws) {
         auto dialog = std::make_unique<QFileDialog>(nullptr, QStringLiteral("Export to Excel"),
                                                     ws.directory(),
                                                     QStringLiteral("Excel Workbook (*.xlsx)"));
         dialog->setAcceptMode(QFileDialog::AcceptSave);
         return dialog;
       },
       {"Save", "Cancel"}},
      {"Working directory",
       [](Workspace& ws) {
         return std::make_unique<WorkingDirectoryDialog>(ws.prompt, ws.desktop, [] {});
       },
       {"OK", "Cancel"}},
      {"Year overview",
       [](Workspace& ws) { return std::make_unique<YearOverview>(ws.app.store(), 2026); },
       {"Close"}},
      {"About", [](Workspace&) { return std::make_unique<AboutDialog>(); }, {"OK"}},
  };
  std::vector<Case> money = MoneyPlanCases();
  cases.insert(cases.end(), std::make_move_iterator(money.begin()),
               std::make_move_iterator(money.end()));
  return cases;
}

// "WxH at X,Y", for a failure's message.
QString Where(const QRect& place) {
  return QStringLiteral("%1x%2 at %3,%4")
      .arg(place.width())
      .arg(place.height())
      .arg(place.x())
      .arg(place.y());
}

QString Plain(const QString& caption) {
  return QString(caption).remove(QLatin1Char('&'));
}

// Every button with the caption, shown and not cut off by the window or by a scroll area.
void VerifyInSight(QWidget& window, const QString& caption) {
  int found = 0;
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (Plain(button->text()) != caption || !button->isVisibleTo(&window))
      continue;
    ++found;
    const QRect place(button->mapTo(&window, QPoint(0, 0)), button->size());
    QVERIFY2(window.rect().contains(place), qPrintable(caption));
    QVERIFY2(button->visibleRegion().boundingRect() == button->rect(), qPrintable(caption));
  }
  QVERIFY2(found > 0, qPrintable(caption + QStringLiteral(" is missing")));
}

void VerifyFits(QWidget& window) {
  const QRect screen = window.screen()->availableGeometry();
  QCOMPARE(screen.size(), kRoom);
  QVERIFY2(screen.contains(window.frameGeometry()), qPrintable(Where(window.frameGeometry())));
}

}  // namespace

class SmallScreenTest final : public QObject {
  Q_OBJECT

 private slots:
  // Regression: the Print, Import, conflict and several other windows were wider than a
  // 640x420 screen, with their buttons beyond its edge.
  void EveryDialogFitsASmallScreenWithItsButtonsInSight() {
    for (const Case& item : Cases()) {
      Workspace ws;
      std::unique_ptr<QDialog> dialog = item.open(ws);
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
      QCoreApplication::processEvents();
      qInfo("%s: %dx%d", item.name, dialog->width(), dialog->height());
      VerifyFits(*dialog);
      for (const QString& caption : item.buttons)
        VerifyInSight(*dialog, caption);
      if (QTest::currentTestFailed())
        QFAIL(item.name);
      Snapshot(*dialog, QStringLiteral("small-%1.png")
                            .arg(QString::fromLatin1(item.name).toLower().replace(' ', '-')));
    }
  }

  // Regression: the preview opened 426x109 on a small screen, too small to show a page.
  void ThePrintPreviewUsesTheSmallScreen() {
    QPrinter printer;
    const std::unique_ptr<QPrintPreviewDialog> preview =
        MakePrintPreview(printer, QStringLiteral("Print Preview"), nullptr);
    preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview.get()));
    VerifyFits(*preview);
    QVERIFY(preview->width() >= kRoom.width() - 20 && preview->height() >= kRoom.height() - 50);
    QCOMPARE(preview->windowTitle(), QStringLiteral("Print Preview"));
  }

  // Regression: fourteen results ran past the bottom of a small screen.
  void SearchResultsStayOnASmallScreen() {
    Workspace ws;
    for (int day = 1; day <= 20; ++day)
      ws.AddDue("Rent", "Landlord", 850, At(2026, day % 12 + 1, day, 9));
    FakeDialogs dialogs;
    MainWindow window(ws.app, dialogs);
    window.resize(kRoom - QSize(8, 36));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    SearchBox& search = window.searchBox();
    search.setFocus();
    for (const QChar character : QStringLiteral("rent"))
      QTest::sendKeyEvent(QTest::Click, &search, Qt::Key_unknown, QString(character),
                          Qt::NoModifier);
    QTRY_VERIFY(search.results().isVisible());
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY2(screen.contains(search.results().geometry()),
             qPrintable(Where(search.results().geometry())));
  }

  // Regression: the caption strip cut its warning to "Balance below $0.00 on 7 D".
  void TheCaptionStripShowsItsWarningWhole() {
    Workspace ws;
    FakeDialogs dialogs;
    MainWindow window(ws.app, dialogs);
    window.resize(kRoom - QSize(8, 36));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY_WITH_TIMEOUT(window.monthPainted(), 5000);  // the window's own count came first
    CaptionStrip& strip = window.captionStrip();
    strip.ShowCaption(QStringLiteral("Quarterly water and sewage charge"), CaptionStrip::kDue);
    strip.ShowReminders(QStringLiteral("13 overdue · 2 due soon"), true);
    strip.ShowNotice(QStringLiteral("balanceWarning"),
                     QStringLiteral("Balance below $0.00 on 17 Dec 2026"), QString());
    QCoreApplication::processEvents();
    Snapshot(window, QStringLiteral("caption-warning-narrow.png"));
    Snapshot(window, QStringLiteral("caption-warning-2x.png"), 2);
    for (const char* name : {"balanceWarning", "reminders"}) {
      auto* link = strip.findChild<QToolButton*>(QString::fromLatin1(name));
      const QRect place(link->mapTo(&strip, QPoint(0, 0)), link->size());
      QVERIFY2(link->width() >= link->sizeHint().width() && strip.rect().contains(place),
               qPrintable(QStringLiteral("%1 wants %2 wide, is %3 in %4")
                              .arg(QString::fromLatin1(name))
                              .arg(link->sizeHint().width())
                              .arg(Where(place), Where(strip.rect()))));
    }
  }

  // The series question names three choices and Cancel in one row of buttons.
  void TheSeriesQuestionFitsASmallScreen() {
    MessageBoxPrompt prompt;
    bool checked = false;
    QTimer::singleShot(0, this, [&checked] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      QVERIFY(QTest::qWaitForWindowExposed(box));
      VerifyFits(*box);
      for (const char* caption :
           {"This due only", "This and later dues", "The whole series", "Cancel"}) {
        VerifyInSight(*box, QString::fromLatin1(caption));
      }
      checked = true;
      box->reject();
    });
    QCOMPARE(AskSeriesScope(prompt, nullptr, SeriesScopeCounts{1, 7, 12}), SeriesChoice::kCancel);
    QVERIFY(checked);
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  // A screen of 640x420 for the windows to open on.
  QTemporaryFile screens;
  if (!screens.open())
    return 1;
  screens.write(R"({"screens": [{"name": "Small", "x": 0, "y": 0, "width": 640, "height": 420,
                    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  screens.flush();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
  paylark::test::SmallScreenTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "small_screen_test.moc"
