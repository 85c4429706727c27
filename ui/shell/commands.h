#pragma once

#include <QObject>

class QAction;
class QMenuBar;
class QWidget;

namespace paylark {

class CommandRegistry;

// Every command of the main window as one QAction each, shared by the menu bar, the toolbar, the
// navigation folders, the context menus and the keyboard. Each carries its menu text, shortcut,
// status-bar prompt and tooltip; the window connects them to the code that does the work.
class Commands final : public QObject {
  Q_OBJECT

 public:
  explicit Commands(QWidget* window);

  // The menu bar's popups: File, Due, View, Tools, Export, Preferences, Help. toggleDetails is
  // the details bar's own toggle action, dressed as the View menu's item; the registry learns
  // the menu places of the features' commands.
  void BuildMenuBar(QMenuBar& bar, QAction* toggleDetails, CommandRegistry& registry) const;
  static void DressToggleDetails(QAction& toggle);

  QAction* newDue;
  QAction* modifyDue;
  QAction* deleteDue;
  QAction* markPaid;
  QAction* print;
  // Nothing in the window handles it: the sync feature does.
  QAction* restoreBackup;
  QAction* exit;
  QAction* synchronize;
  QAction* excelWithNotes;
  QAction* excelWithoutNotes;
  QAction* wordWithNotes;
  QAction* wordWithoutNotes;
  QAction* htmlWithNotes;
  QAction* htmlWithoutNotes;
  QAction* pdfWithNotes;
  QAction* pdfWithoutNotes;
  QAction* calendarExport;
  QAction* csvExport;
  QAction* importCsv;
  QAction* importStatement;  // handled by the statement import feature
  QAction* calendarPreferences;
  QAction* changeDirectory;
  QAction* refresh;
  QAction* reminders;
  QAction* previousMonth;
  QAction* nextMonth;
  QAction* about;
  QAction* help;
  QAction* nextPane;
  QAction* previousPane;
  QAction* find;
  QAction* yearOverview;
  QAction* seriesHistory;

 private:
  void MakeFileCommands(QWidget* window);
};

}  // namespace paylark
