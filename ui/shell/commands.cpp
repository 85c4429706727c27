#include "ui/shell/commands.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>

#include "ui/base/resources.h"
#include "ui/shell/command_registry.h"

namespace paylark {
namespace {

QString ExportPrompt(const char* target, const char* notes, const char* tooltipGap) {
  return QStringLiteral("Export to %1 %2 \n Export to %1%3%2")
      .arg(QLatin1String(target), QLatin1String(notes), QLatin1String(tooltipGap));
}

}  // namespace

Commands::Commands(QWidget* window) : QObject(window) {
  newDue = MakeCommand(window, "&New", "New Due \n New Due", "new-due", QKeySequence("Ctrl+N"));
  modifyDue = MakeCommand(window, "&Modify", "Modify Due \n Modify Due", "modify-due",
                          QKeySequence("Ctrl+M"));
  deleteDue = MakeCommand(window, "&Delete", "Delete Due \n Delete Due", "delete-due",
                          QKeySequence("Ctrl+D"));
  // Ctrl+P prints.
  markPaid = MakeCommand(window, "Mark &Paid...",
                         "Mark the selected due paid: when, how much and the bank reference\n"
                         "Mark Paid",
                         "status-paid", QKeySequence(QStringLiteral("Ctrl+Shift+P")));
  markPaid->setObjectName(QStringLiteral("markPaid"));
  print =
      MakeCommand(window, "&Print", "Print Dues \n Print Dues ", nullptr, QKeySequence("Ctrl+P"));
  restoreBackup = MakeCommand(window, "Restore from &Backup...",
                              "Replace every due with those of an earlier backup\nRestore");
  restoreBackup->setObjectName(QStringLiteral("restoreBackup"));
  exit = MakeCommand(window, "E&xit", "Quit the application\nExit", nullptr,
                     QKeySequence(QStringLiteral("Ctrl+Q")));
  synchronize = MakeCommand(window, "&Synchronize", "Synchronize\nSynchronize", "synchronize");
  excelWithNotes =
      MakeCommand(window, "With Notes", ExportPrompt("Excel", "With Notes", " "), "export-excel");
  excelWithoutNotes =
      MakeCommand(window, "Without Notes", ExportPrompt("Excel", "Without Notes", " "));
  wordWithNotes =
      MakeCommand(window, "With Notes", ExportPrompt("Word", "With Notes", " "), "export-word");
  wordWithoutNotes =
      MakeCommand(window, "Without Notes", ExportPrompt("Word", "Without Notes", " "));
  htmlWithNotes =
      MakeCommand(window, "With Notes", ExportPrompt("HTML", "With Notes", " "), "export-html");
  htmlWithoutNotes =
      MakeCommand(window, "Without Notes", ExportPrompt("HTML", "Without Notes", " "));
  pdfWithNotes =
      MakeCommand(window, "With Notes", ExportPrompt("PDF", "With Notes", "  "), "export-pdf");
  pdfWithoutNotes =
      MakeCommand(window, "Without Notes", ExportPrompt("PDF", "Without Notes", "  "));
  calendarExport = MakeCommand(window, "&Calendar (iCalendar)",
                               "Export the month's dues as calendar events\nExport to a Calendar");
  csvExport = MakeCommand(window, "C&SV", "Export the month's dues as CSV\nExport to CSV");
  MakeFileCommands(window);
  calendarPreferences =
      MakeCommand(window, "&Calendar...", "Keep a calendar file of the dues up to date\nCalendar");
  changeDirectory =
      MakeCommand(window, "Change &Working Directory", "Change Directory \n Change Directory");
  refresh = MakeCommand(window, "&Refresh", "Refresh\nRefresh", "refresh", QKeySequence("F5"));
  reminders = MakeCommand(window, "&Reminders…",
                          "Choose when and how Paylark reminds you of dues\nReminders");
  previousMonth =
      MakeCommand(window, "Goto Previous Month", "Goto Previous Month \n Goto Previous Month",
                  "previous-month", QKeySequence(QStringLiteral("Ctrl+PgUp")));
  nextMonth = MakeCommand(window, "Goto Next Month", "Goto Next Month \n Goto Next Month",
                          "next-month", QKeySequence(QStringLiteral("Ctrl+PgDown")));
  about = MakeCommand(window, "&About Paylark...",
                      "Display program information, version number and copyright\nAbout", "about");
  help = MakeCommand(window, "&Help Contents\tF1", "Help \n Help", "help", QKeySequence("F1"));
  nextPane = MakeCommand(window, "Next Pane", "Switch to the next window pane\nNext Pane", nullptr,
                         QKeySequence("F6"));
  previousPane =
      MakeCommand(window, "Previous Pane", "Switch back to the previous window pane\nPrevious Pane",
                  nullptr, QKeySequence("Shift+F6"));
  find = MakeCommand(window, "&Find Dues", "Search the dues of every month\nFind Dues", nullptr,
                     QKeySequence("Ctrl+F"));
  yearOverview = MakeCommand(window, "&Year Overview",
                             "Show the year's sums by month and by pay-to\nYear Overview");
  seriesHistory =
      MakeCommand(window, "&Series History",
                  "Show the amounts and paid amounts of the selected due's series\nSeries History");
  seriesHistory->setObjectName(QStringLiteral("seriesHistory"));
}

// The File menu's ways of bringing dues in from files: CSV and statements.
void Commands::MakeFileCommands(QWidget* window) {
  importCsv = MakeCommand(window, "&Import CSV...", "Add dues from a CSV file\nImport CSV");
  importStatement = MakeCommand(window, "Import &Statement...",
                                "Mark dues paid from a bank statement (OFX, CAMT.053, CSV)\n"
                                "Import Statement");
  importStatement->setObjectName(QStringLiteral("importStatement"));
}

void Commands::DressToggleDetails(QAction& toggle) {
  toggle.setText(QStringLiteral("&Details Window"));
  toggle.setStatusTip(QStringLiteral("Show\\Hide Detail Window"));
  toggle.setToolTip(QStringLiteral("Toggle Detail Window"));
  toggle.setIcon(SvgIcon(QStringLiteral("details-window")));
}

void Commands::BuildMenuBar(QMenuBar& bar, QAction* toggleDetails,
                            CommandRegistry& registry) const {
  QMenu* file = bar.addMenu(QStringLiteral("&File"));
  registry.SetPlace(MenuPlace::kFileNew, *file, file->addSeparator());
  file->addAction(importCsv);
  file->addAction(importStatement);
  registry.SetPlace(MenuPlace::kFileImport, *file, file->addSeparator());
  file->addAction(print);
  file->addSeparator();
  file->addAction(restoreBackup);
  file->addAction(exit);
  QMenu* due = bar.addMenu(QStringLiteral("&Due"));
  due->addAction(newDue);
  due->addSeparator();
  due->addAction(modifyDue);
  due->addAction(deleteDue);
  due->addSeparator();
  due->addAction(markPaid);
  QMenu* view = bar.addMenu(QStringLiteral("&View"));
  view->addAction(toggleDetails);
  view->addSeparator();
  view->addAction(previousMonth);
  view->addAction(nextMonth);
  view->addSeparator();
  view->addAction(find);
  view->addAction(yearOverview);
  view->addAction(seriesHistory);
  registry.SetPlace(MenuPlace::kView, *view, nullptr);
  bar.addMenu(QStringLiteral("&Tools"))->addAction(synchronize);
  QMenu* exports = bar.addMenu(QStringLiteral("E&xport"));
  const struct {
    const char* title;
    QAction* with;
    QAction* without;
  } targets[] = {{"Excel", excelWithNotes, excelWithoutNotes},
                 {"Word", wordWithNotes, wordWithoutNotes},
                 {"HTML", htmlWithNotes, htmlWithoutNotes},
                 {"PDF", pdfWithNotes, pdfWithoutNotes}};
  for (const auto& target : targets) {
    QMenu* menu = exports->addMenu(QString::fromLatin1(target.title));
    menu->addAction(target.with);
    menu->addAction(target.without);
  }
  exports->addSeparator();
  exports->addAction(calendarExport);
  exports->addAction(csvExport);
  QMenu* preferences = bar.addMenu(QStringLiteral("&Preferences"));
  preferences->addAction(changeDirectory);
  preferences->addAction(refresh);
  preferences->addSeparator();
  preferences->addAction(calendarPreferences);
  preferences->addAction(reminders);
  QMenu* helpMenu = bar.addMenu(QStringLiteral("&Help"));
  helpMenu->addAction(about);
  helpMenu->addAction(help);
}

}  // namespace paylark
