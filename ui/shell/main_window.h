#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "ui/base/dialog_commands.h"
#include "ui/shell/caption_strip.h"
#include "ui/shell/feature_host.h"
#include "ui/shell/working_directory_dialog.h"

class QLabel;
class QSplitter;

namespace paylark {

class DetailsBar;
class MainToolBar;
class NavigationBar;
class PaylarkApp;
class ReminderCount;
class MonthListView;
class CalDavKeeper;
class CalendarFeedKeeper;
class Commands;
class CommandRegistry;
class ExportCommands;
class SearchBox;
class StatusPanes;

// What the window asks of the program rather than deciding itself; each has a default.
struct WindowPolicies {
  // The Working Directory dialog used by Change Directory; by default AskForWorkingDirectory.
  AskDirectory askDirectory;
  // Called before Change Directory switches folders; false keeps the window on its folder (one
  // window per working directory). Without one, every folder may be taken.
  std::function<bool(const QString&)> claimDirectory;
};

// The main window. It builds the furniture (menus, toolbar, status panes, caption strip,
// navigation folders, month list, details bar), keeps the selected month, and routes every
// command to the code that does the work. Features that live beside it (sync, backups) listen
// to what it announces and add their commands to its registry; it does not know them.
class MainWindow final : public QMainWindow, public FeatureHost {
  Q_OBJECT

 public:
  MainWindow(PaylarkApp& app, DialogCommands& dialogs, WindowPolicies policies = {},
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // Re-reads the month picker into the selected month and refills the list.
  void RefreshMonth();
  // Moves the picker by months (the day clamped to the new month) and refreshes.
  void ShiftMonth(int months);
  // Reads every record file again, then refreshes.
  void ReloadAll();
  // Refills the list after records changed behind the window: the month and the selected due
  // stay (or its neighbour, when the due left the month's list).
  void RefreshKeepingSelection();
  void ShowCaption(const QString& text, CaptionStrip::Image image);
  // Shows a note at the left of the status bar until the next one; an empty note clears it.
  void ShowNote(const QString& note);
  const QLabel& note() const { return *note_; }
  // Lends a feature a place in the status bar between the note and the sums, where a passing
  // message never covers it; later ones go left of earlier ones.
  void AddStatusWidget(QWidget* widget);
  // Whether the month list has been painted and that frame handed to the screen.
  bool monthPainted() const override { return monthPainted_; }
  // Runs work (in context's thread, while context lives) once the month list has been painted:
  // at once when it has. Work that can wait goes here, so the first frame comes sooner.
  template <class Work>
  void WhenMonthPainted(QObject* context, Work work) {
    if (monthPainted_)
      work();
    else
      connect(this, &MainWindow::firstMonthPainted, context, std::move(work),
              Qt::SingleShotConnection);
  }

  void OnNewDue();
  void OnModifyDue();
  void OnDeleteDue();
  // Mark Paid for the selected due; nothing without a selection.
  void OnMarkPaid();
  void OnChangeDirectory();
  void OnAbout();
  void OnImportCsv();
  void OnCalendarPreferences();
  void OnYearOverview();
  // The selected due's series; a due outside a series has no history to show, and says so.
  void OnSeriesHistory();
  // Shows the due's month (every due when the filter would hide it) and selects the due;
  // false when no due has the ID.
  bool GoToDue(const QString& recordId) override;
  // The caption strip's click: the due after the selected one among those that need a reminder,
  // so clicking again walks through them.
  void GoToNextReminder();
  void OnReminderPreferences();

  // Reads every record file again and says that no synchronisation program is set up.
  void SynchronizeLocally();

  Commands& commands() { return *commands_; }
  CommandRegistry& commandRegistry() override { return *registry_; }
  QWidget& dialogParent() override { return *this; }
  void ShowStatusMessage(const QString& message) override { ShowNote(message); }
  void ShowCaptionNotice(const QString& key, const QString& text, const QString& toolTip) override {
    captionStrip_->ShowNotice(key, text, toolTip);
  }
  void FollowCaptionNotice(QObject& receiver, const QString& key,
                           std::function<void()> clicked) override;
  void AnnounceChange() override { emit aboutToChange(); }
  void AnnounceRecordsChanged() override { RecordsChanged(); }
  void FollowFirstPaint(QObject& receiver, std::function<void()> work) override {
    WhenMonthPainted(&receiver, std::move(work));
  }
  void FollowRecordsChanged(QObject& receiver, std::function<void()> changed) override {
    connect(this, &MainWindow::recordsChanged, &receiver, std::move(changed));
  }
  void FollowPreferencesChanged(QObject& receiver, std::function<void()> changed) override {
    connect(this, &MainWindow::preferencesChanged, &receiver, std::move(changed));
  }
  void FollowFilesDroppedOutsideRows(QObject& receiver,
                                     std::function<void(const QStringList&)> open) override;
  MainToolBar& toolBar() { return *toolBar_; }
  MonthListView& view() { return *view_; }
  DetailsBar& detailsBar() { return *detailsBar_; }
  CaptionStrip& captionStrip() { return *captionStrip_; }
  StatusPanes& statusPanes() { return *statusPanes_; }
  NavigationBar& navigation() { return *navigation_; }
  SearchBox& searchBox() { return *searchBox_; }

 signals:
  // Right before a command of the window may change records (the day's backup comes first).
  void aboutToChange();
  // After records were added, changed, removed or read again: everything that looks at more
  // than the month on screen follows (the calendar feed, the reminder count, the search).
  void recordsChanged();
  // After the user changed the reminder days or the forecast's warning level.
  void preferencesChanged();
  // After Change Directory switched to another working directory and read it.
  void workingDirectoryChanged();
  // Once, a moment after the month list was first painted: what can wait until the user sees
  // the month begins now.
  void firstMonthPainted();
  // Synchronize found no synchronisation manager to start. Without a listener the window
  // synchronizes locally.
  void synchronizeRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A window made narrower takes the room from the details bar first, down to its narrowest.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ConnectCommands();
  void ConnectExports();
  // The calendar file and the CalDAV calendar follow every change.
  void ConnectCalendars();
  void SwitchPane(int step);
  void ModifyRecord(const QString& recordId);
  // After dues were added, changed or removed: the list follows and recordsChanged is emitted.
  void RecordsChanged();
  void Reselect(const std::string& recordId, int row);
  void Synchronize();
  // A change that took effect but could not rewrite the change marker is told as a warning.
  void TellMarkerFailure();
  void UpdateCalendarFeed();
  void FirstPainted();

  PaylarkApp& app_;
  DialogCommands& dialogs_;
  Commands* commands_;
  CommandRegistry* registry_;
  DetailsBar* detailsBar_;
  MainToolBar* toolBar_;
  NavigationBar* navigation_;
  CaptionStrip* captionStrip_;
  MonthListView* view_;
  StatusPanes* statusPanes_;
  QLabel* note_;
  SearchBox* searchBox_;
  ExportCommands* exports_;
  std::unique_ptr<CalendarFeedKeeper> calendarFeed_;
  CalDavKeeper* calDav_;
  WindowPolicies policies_;
  ReminderCount* reminderCount_;
  bool monthPainted_ = false;
};

}  // namespace paylark
