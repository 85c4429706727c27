#include "ui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPointer>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/base/messages.h"
#include "core/records/month_selection.h"
#include "core/records/series_history.h"
#include "settings/user_settings.h"
#include "ui/base/date_conversion.h"
#include "ui/base/paylark_app.h"
#include "ui/base/resources.h"
#include "ui/base/stall_probe.h"
#include "ui/base/start_timeline.h"
#include "ui/base/wait_cursor.h"
#include "ui/exchange/caldav_keeper.h"
#include "ui/exchange/calendar_feed_keeper.h"
#include "ui/exchange/calendar_preferences_dialog.h"
#include "ui/exchange/csv_import_command.h"
#include "ui/export/export_commands.h"
#include "ui/reminders/reminder_count.h"
#include "ui/reminders/reminder_preferences_dialog.h"
#include "ui/shell/about_dialog.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/commands.h"
#include "ui/shell/delete_flow.h"
#include "ui/shell/details_bar.h"
#include "ui/shell/help_sync.h"
#include "ui/shell/main_tool_bar.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/shell/month_shift.h"
#include "ui/shell/navigation_bar.h"
#include "ui/shell/search_box.h"
#include "ui/shell/series_history_window.h"
#include "ui/shell/status_panes.h"
#include "ui/shell/working_directory_dialog.h"
#include "ui/shell/year_overview.h"
#include "ui/widgets/focus_frame.h"

namespace paylark {
namespace {

constexpr int kNavigationWidth = 150;
// A narrow window takes its room from the details bar before the list's rows get unreadable.
constexpr int kListMinimumWidth = 300;
constexpr int kListComfortableWidth = 380;
constexpr int kNavigationMinimumWidth = 100;

}  // namespace

MainWindow::MainWindow(PaylarkApp& app, DialogCommands& dialogs, WindowPolicies policies,
                       QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      dialogs_(dialogs),
      commands_(new Commands(this)),
      registry_(new CommandRegistry(*this)),
      detailsBar_(new DetailsBar(this)),
      exports_(new ExportCommands(app, this, [this](const QString& note) { ShowNote(note); })),
      calendarFeed_(std::make_unique<CalendarFeedKeeper>(app)),
      calDav_(new CalDavKeeper(app, this)),
      policies_(std::move(policies)),
      reminderCount_(new ReminderCount(app, this)) {
  if (!policies_.askDirectory) {
    policies_.askDirectory = [&app](const QString& initial) {
      return AskForWorkingDirectory(app, initial);
    };
  }
  setWindowTitle(QStringLiteral("Paylark"));
  setObjectName(QStringLiteral("MainFrame"));
  QAction* toggleDetails = detailsBar_->toggleViewAction();
  Commands::DressToggleDetails(*toggleDetails);
  commands_->BuildMenuBar(*menuBar(), toggleDetails, *registry_);

  toolBar_ = new MainToolBar(*commands_, toggleDetails, this);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  searchBox_ = new SearchBox(app.store(), toolBar_);
  toolBar_->addSeparator();
  toolBar_->addWidget(searchBox_);
  toolBar_->datePicker().setDateTime(ToQDateTime(app.clock().Now()));
  app_.SetSelectedMonth(ToOleDateTime(toolBar_->datePicker().dateTime()));

  // The note is a label of the bar, not a passing message: it keeps its whole width when the
  // sums beside it are large, and a menu's status tip only covers it for a moment.
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("statusNote"));
  note_->setTextFormat(Qt::PlainText);
  note_->setContentsMargins(4, 0, 0, 0);  // where a passing message starts
  statusBar()->addWidget(note_);
  statusPanes_ = new StatusPanes(*statusBar());

  addDockWidget(Qt::RightDockWidgetArea, detailsBar_);
  resizeDocks({detailsBar_}, {DetailsBar::kWidth}, Qt::Horizontal);
  detailsBar_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                           QDockWidget::DockWidgetFloatable);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  navigation_ = new NavigationBar(*commands_, splitter);
  auto* listPane = new QWidget(splitter);
  auto* listLayout = new QVBoxLayout(listPane);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->setSpacing(0);
  captionStrip_ = new CaptionStrip(listPane);
  view_ =
      new MonthListView(app.clock(), app.store(),
                        {commands_->newDue, commands_->modifyDue, commands_->deleteDue}, listPane);
  listLayout->addWidget(captionStrip_);
  listLayout->addWidget(view_, 1);
  listPane->setMinimumWidth(kListMinimumWidth);
  navigation_->setMinimumWidth(kNavigationMinimumWidth);
  splitter->addWidget(navigation_);
  splitter->addWidget(listPane);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({kNavigationWidth, 800});
  setCentralWidget(splitter);
  // The bar was built first; Tab reaches it after the list.
  setTabOrder(view_, detailsBar_);
  for (QWidget* pane :
       {static_cast<QWidget*>(navigation_), static_cast<QWidget*>(view_), detailsBar_->widget()}) {
    new FocusFrame(*pane);
  }
  // The window opens with the keys on the month's dues.
  view_->setFocus(Qt::OtherFocusReason);

  // What looks at every month rather than the one on screen; switching months leaves it alone.
  connect(this, &MainWindow::recordsChanged, reminderCount_, &ReminderCount::Update);
  connect(this, &MainWindow::recordsChanged, searchBox_, &SearchBox::Invalidate);
  connect(view_, &MonthListView::Painted, this, &MainWindow::FirstPainted,
          Qt::SingleShotConnection);
  ConnectCommands();
  ConnectExports();
  ConnectCalendars();
  RefreshMonth();
  MarkStart("month filled");
  // The reminder count and the calendar file look at every month: they follow the first frame.
  WhenMonthPainted(this, [this] {
    reminderCount_->Update();
    MarkStart("reminders counted");
    UpdateCalendarFeed();
    MarkStart("calendar feed written");
    calDav_->ScheduleSync();
  });
}

MainWindow::~MainWindow() {
  delete exports_;
}

void MainWindow::ConnectCommands() {
  Commands& c = *commands_;
  connect(c.newDue, &QAction::triggered, this, &MainWindow::OnNewDue);
  connect(c.modifyDue, &QAction::triggered, this, &MainWindow::OnModifyDue);
  connect(c.deleteDue, &QAction::triggered, this, &MainWindow::OnDeleteDue);
  connect(c.markPaid, &QAction::triggered, this, &MainWindow::OnMarkPaid);
  connect(c.print, &QAction::triggered, this, [this] { dialogs_.Print(this); });
  connect(c.exit, &QAction::triggered, this, &QWidget::close);
  connect(c.synchronize, &QAction::triggered, this, &MainWindow::Synchronize);
  connect(c.changeDirectory, &QAction::triggered, this, &MainWindow::OnChangeDirectory);
  connect(c.refresh, &QAction::triggered, this, &MainWindow::ReloadAll);
  connect(c.previousMonth, &QAction::triggered, this, [this] { ShiftMonth(-1); });
  connect(c.nextMonth, &QAction::triggered, this, [this] { ShiftMonth(+1); });
  connect(c.about, &QAction::triggered, this, &MainWindow::OnAbout);
  connect(c.importCsv, &QAction::triggered, this, &MainWindow::OnImportCsv);
  connect(c.calendarPreferences, &QAction::triggered, this, &MainWindow::OnCalendarPreferences);
  connect(c.help, &QAction::triggered, this,
          [this] { OpenHelp(app_.desktop(), app_.prompt(), this); });
  connect(c.nextPane, &QAction::triggered, this, [this] { SwitchPane(+1); });
  connect(c.previousPane, &QAction::triggered, this, [this] { SwitchPane(-1); });
  connect(c.find, &QAction::triggered, this, [this] {
    searchBox_->setFocus(Qt::ShortcutFocusReason);
    searchBox_->selectAll();
  });
  connect(searchBox_, &SearchBox::DueChosen, this, &MainWindow::GoToDue);
  connect(c.yearOverview, &QAction::triggered, this, &MainWindow::OnYearOverview);
  connect(c.seriesHistory, &QAction::triggered, this, &MainWindow::OnSeriesHistory);

  connect(&toolBar_->datePicker(), &QDateTimeEdit::dateTimeChanged, this,
          &MainWindow::RefreshMonth);
  connect(&toolBar_->filter(), &QComboBox::currentIndexChanged, this, &MainWindow::RefreshMonth);
  connect(view_, &MonthListView::DueSelected, this, [this](const DueRecord& record) {
    const std::vector<DueRecord> series = SeriesHistory(app_.store(), record.seriesId);
    detailsBar_->FillDetails(record, app_.store().records().SeriesPositionOf(record.recordId),
                             SeriesChangeText(series, record.recordId), app_.clock().Now());
    ShowCaption(QString::fromStdString(record.title),
                IsSeriesMember(record) ? CaptionStrip::kSeries : CaptionStrip::kDue);
  });
  connect(view_, &MonthListView::SelectionCleared, this, [this] {
    detailsBar_->ClearDetails();
    ShowCaption(QStringLiteral("Paylark"), CaptionStrip::kApplication);
  });
  connect(view_, &MonthListView::ModifyRequested, this, &MainWindow::ModifyRecord);

  connect(c.reminders, &QAction::triggered, this, &MainWindow::OnReminderPreferences);
  connect(reminderCount_, &ReminderCount::Changed, this, [this] {
    captionStrip_->ShowReminders(reminderCount_->text(), reminderCount_->anyOverdue());
  });
  connect(captionStrip_, &CaptionStrip::RemindersClicked, this, [this] { GoToNextReminder(); });
}

void MainWindow::ConnectExports() {
  const struct {
    QAction* action;
    ExportTarget target;
    NotesChoice notes;
  } routes[] = {
      {commands_->excelWithNotes, ExportTarget::kExcel, NotesChoice::kWithNotes},
      {commands_->excelWithoutNotes, ExportTarget::kExcel, NotesChoice::kWithoutNotes},
      {commands_->wordWithNotes, ExportTarget::kWord, NotesChoice::kWithNotes},
      {commands_->wordWithoutNotes, ExportTarget::kWord, NotesChoice::kWithoutNotes},
      {commands_->htmlWithNotes, ExportTarget::kHtml, NotesChoice::kWithNotes},
      {commands_->htmlWithoutNotes, ExportTarget::kHtml, NotesChoice::kWithoutNotes},
      {commands_->pdfWithNotes, ExportTarget::kPdf, NotesChoice::kWithNotes},
      {commands_->pdfWithoutNotes, ExportTarget::kPdf, NotesChoice::kWithoutNotes},
      {commands_->calendarExport, ExportTarget::kCalendar, NotesChoice::kWithNotes},
      {commands_->csvExport, ExportTarget::kCsv, NotesChoice::kWithNotes},
  };
  for (const auto& route : routes) {
    const ExportTarget target = route.target;
    const NotesChoice notes = route.notes;
    connect(route.action, &QAction::triggered, this, [this, target, notes] {
      const QString note = exports_->Export(target, notes, view_->model().rows());
      if (!note.isEmpty())
        ShowNote(note);
    });
  }
}

void MainWindow::RefreshMonth() {
  app_.SetSelectedMonth(ToOleDateTime(toolBar_->datePicker().dateTime()));
  {
    WaitCursor wait;
    MonthSelection selection = MonthFill(app_.store(), app_.selectedMonth(),
                                         MonthFilterFromIndex(toolBar_->filter().currentIndex()));
    view_->model().SetRows(std::move(selection.rows));
    statusPanes_->SetTexts(
        QString::fromStdString(selection.paidText), QString::fromStdString(selection.unpaidText),
        QString::fromStdString(selection.totalText), QString::fromStdString(selection.incomeText));
  }
  detailsBar_->ClearDetails();
  ShowCaption(QStringLiteral("Paylark"), CaptionStrip::kApplication);
}

void MainWindow::GoToNextReminder() {
  const std::optional<DueRecord> selected = view_->SelectedRecord();
  const std::string current = selected ? selected->recordId : std::string();
  GoToDue(QString::fromStdString(reminderCount_->NextRecordId(current)));
}

bool MainWindow::GoToDue(const QString& recordId) {
  const std::string id = recordId.toStdString();
  if (!app_.store().records().Contains(id))
    return false;
  const DueRecord due = app_.store().Get(id);
  {
    const QSignalBlocker quietPicker(toolBar_->datePicker());
    const QSignalBlocker quietFilter(toolBar_->filter());
    toolBar_->datePicker().setDateTime(ToQDateTime(due.dueDate));
    const MonthFilter filter = MonthFilterFromIndex(toolBar_->filter().currentIndex());
    if (filter != MonthFilter::kAll && (filter == MonthFilter::kPaidOnly) != IsPaid(due))
      toolBar_->filter().setCurrentIndex(0);
  }
  RefreshMonth();
  const std::vector<DueRecord>& rows = view_->model().rows();
  const auto found = std::find_if(rows.begin(), rows.end(),
                                  [&id](const DueRecord& row) { return row.recordId == id; });
  if (found == rows.end())
    return true;
  const int row = static_cast<int>(found - rows.begin());
  view_->SelectRow(row);
  view_->scrollTo(view_->model().index(row));
  view_->setFocus(Qt::OtherFocusReason);
  return true;
}

void MainWindow::ShiftMonth(int months) {
  MonthPicker& picker = toolBar_->datePicker();
  {
    const QSignalBlocker quiet(picker);
    picker.setDateTime(ShiftedMonth(picker.dateTime(), months));
  }
  RefreshMonth();
}

void MainWindow::ReloadAll() {
  ShowNote(app_.Reload(this));
  RefreshMonth();
  emit recordsChanged();
}

void MainWindow::RecordsChanged() {
  const std::optional<DueRecord> selected = view_->SelectedRecord();
  const int row = view_->SelectionMark();
  RefreshMonth();
  if (selected)
    Reselect(selected->recordId, row);
  emit recordsChanged();
  TellMarkerFailure();
}

// The changed due stays selected, so the next key acts on it again; when it left the month's
// list, the row that took its place (or the last row) is selected instead.
void MainWindow::Reselect(const std::string& recordId, int row) {
  const std::vector<DueRecord>& rows = view_->model().rows();
  if (rows.empty())
    return;
  const auto found = std::find_if(rows.begin(), rows.end(), [&recordId](const DueRecord& due) {
    return due.recordId == recordId;
  });
  const int chosen = found != rows.end() ? static_cast<int>(found - rows.begin())
                                         : std::min(row, static_cast<int>(rows.size()) - 1);
  view_->SelectRow(chosen);
  view_->scrollTo(view_->model().index(chosen));
}

void MainWindow::TellMarkerFailure() {
  const Status marker = app_.store().TakeMarkerFailure();
  if (marker.ok())
    return;
  app_.prompt().Tell(this,
                     QString::fromStdString(MessageText(
                         Message{MessageId::kMarkerWriteFailed, {}, 0, marker.message()})),
                     PromptIcon::kWarning);
}

void MainWindow::ConnectCalendars() {
  connect(this, &MainWindow::recordsChanged, this, &MainWindow::UpdateCalendarFeed);
  connect(this, &MainWindow::recordsChanged, calDav_, &CalDavKeeper::ScheduleSync);
  connect(calDav_, &CalDavKeeper::statusMessage, this, &MainWindow::ShowNote);
}

void MainWindow::UpdateCalendarFeed() {
  const QString failure = calendarFeed_->Update();
  if (!failure.isEmpty())
    ShowNote(failure);
}

// The painted frame still has to reach the screen: the announcement waits for the next turn of
// the event loop.
void MainWindow::FirstPainted() {
  const std::string mark = "month painted (" + std::to_string(view_->model().rowCount()) + " rows)";
  MarkStart(mark.c_str());
  QTimer::singleShot(0, this, [this] {
    MarkStart("first frame handed over");
    ProbeStalls(*this, std::chrono::seconds(5));
    monthPainted_ = true;
    emit firstMonthPainted();
  });
}

void MainWindow::RefreshKeepingSelection() {
  RecordsChanged();
}

void MainWindow::ShowCaption(const QString& text, CaptionStrip::Image image) {
  captionStrip_->ShowCaption(text, image);
}

void MainWindow::ShowNote(const QString& note) {
  note_->setText(note);
}

void MainWindow::FollowFilesDroppedOutsideRows(QObject& receiver,
                                               std::function<void(const QStringList&)> open) {
  connect(view_, &MonthListView::FilesDroppedOutsideRows, &receiver, std::move(open));
}

void MainWindow::FollowCaptionNotice(QObject& receiver, const QString& key,
                                     std::function<void()> clicked) {
  connect(captionStrip_, &CaptionStrip::NoticeClicked, &receiver,
          [key, clicked = std::move(clicked)](const QString& from) {
            if (from == key)
              clicked();
          });
}

void MainWindow::AddStatusWidget(QWidget* widget) {
  // Qt counts a permanent widget's place after the bar's other widgets: the note alone.
  constexpr int kFirstPermanentPlace = 1;
  statusBar()->insertPermanentWidget(kFirstPermanentPlace, widget);
}

void MainWindow::OnNewDue() {
  emit aboutToChange();
  (void)dialogs_.NewDue(this);
  RecordsChanged();
}

void MainWindow::OnModifyDue() {
  const std::optional<DueRecord> record = view_->SelectedRecord();
  if (record)
    ModifyRecord(QString::fromStdString(record->recordId));
}

void MainWindow::ModifyRecord(const QString& recordId) {
  emit aboutToChange();
  if (dialogs_.ModifyDue(this, recordId.toStdString()) == EditOutcome::kRecordsChanged) {
    RecordsChanged();
  }
}

void MainWindow::OnMarkPaid() {
  const std::optional<DueRecord> record = view_->SelectedRecord();
  if (!record)
    return;
  emit aboutToChange();
  if (dialogs_.MarkPaid(this, record->recordId) == EditOutcome::kRecordsChanged)
    RecordsChanged();
}

void MainWindow::OnDeleteDue() {
  const std::optional<DueRecord> record = view_->SelectedRecord();
  if (!record)
    return;
  emit aboutToChange();
  DeleteDue(app_, this, *record);
  RecordsChanged();
}

void MainWindow::OnChangeDirectory() {
  const QString before = QString::fromStdString(app_.workingDirectory());
  const QString chosen = policies_.askDirectory(before);
  if (chosen.isEmpty() || chosen.toUtf8() == before.toUtf8())
    return;
  if (policies_.claimDirectory && !policies_.claimDirectory(chosen)) {
    app_.prompt().Tell(this,
                       QString::fromStdString(MessageText(Message{
                           MessageId::kWorkingDirectoryInUse, chosen.toStdString(), 0, {}})),
                       PromptIcon::kWarning);
    return;
  }
  app_.SetWorkingDirectory(chosen.toStdString());
  app_.SaveSetting();
  ReloadAll();  // which creates the records folder
  emit workingDirectoryChanged();
}

void MainWindow::Synchronize() {
  if (StartSyncManager(app_.desktop()))
    return;
  if (isSignalConnected(QMetaMethod::fromSignal(&MainWindow::synchronizeRequested)))
    emit synchronizeRequested();
  else
    SynchronizeLocally();
}

void MainWindow::SynchronizeLocally() {
  ReloadAll();
  const QString section = QUrl::fromLocalFile(HelpFilePath()).toString() + QStringLiteral("#sync");
  const std::string text =
      MessageText(MessageId::kNoSyncProgram) + "\n" +
      MessageText(Message{MessageId::kSyncSetUpHint, section.toStdString(), 0, {}});
  app_.prompt().Tell(this, QString::fromStdString(text), PromptIcon::kInformation);
}

void MainWindow::OnAbout() {
  AboutDialog about(this);
  about.exec();
}

void MainWindow::OnImportCsv() {
  emit aboutToChange();
  const QString note = CsvImportCommand(app_, this).Run();
  if (note.isEmpty())
    return;
  RecordsChanged();
  ShowNote(note);
}

void MainWindow::OnCalendarPreferences() {
  CalendarPreferencesDialog dialog(CalendarFeedKeeper::Enabled(), calendarFeed_->FeedPath(),
                                   CalDavSettings::Read(), CalDavKeeper::LastSyncText(), this);
  const QPointer<CalendarPreferencesDialog> open(&dialog);
  connect(&dialog, &CalendarPreferencesDialog::testRequested, this, [this, open] {
    calDav_->TestConnection(open->calDavSettings(), open->password(),
                            [open](const CalendarSyncReport& report) {
                              if (open)
                                open->ShowTestResult(CalDavKeeper::ConnectionTestText(report));
                            });
  });
  if (dialog.exec() != QDialog::Accepted)
    return;
  CalendarFeedKeeper::SetEnabled(dialog.keepFeed());
  UpdateCalendarFeed();
  calDav_->Save(dialog.calDavSettings(), dialog.password());
}

void MainWindow::OnYearOverview() {
  app_.prompt().TellIfFailed(
      this, RunYearOverview(app_.store(), app_.selectedMonth().ToCivil().year, this));
}

void MainWindow::OnSeriesHistory() {
  const std::optional<DueRecord> record = view_->SelectedRecord();
  if (!record || !IsSeriesMember(*record)) {
    app_.prompt().Tell(this, QStringLiteral("Select a due of a series to see its history."));
    return;
  }
  app_.prompt().TellIfFailed(this,
                             RunSeriesHistory(SeriesHistory(app_.store(), record->seriesId), this));
}

void MainWindow::OnReminderPreferences() {
  ReminderPreferencesDialog preferences(app_, this);
  if (preferences.exec() != QDialog::Accepted)
    return;
  reminderCount_->Update();
  emit preferencesChanged();
}

void MainWindow::SwitchPane(int step) {
  QWidget* panes[] = {navigation_, view_};
  const bool inList = view_->hasFocus();
  const int current = inList ? 1 : 0;
  panes[(current + step + 2) % 2]->setFocus(Qt::OtherFocusReason);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (!detailsBar_->isVisible() || detailsBar_->isFloating())
    return;
  const int room = width() - navigation_->width() - kListComfortableWidth;
  // The bar keeps its headings and a whole date; its own frame comes on top of its table's.
  const int narrowest = qMax(detailsBar_->ReadableWidth(), detailsBar_->minimumSizeHint().width());
  const int fitting = qBound(narrowest, room, DetailsBar::kWidth);
  if (detailsBar_->width() > fitting)
    resizeDocks({detailsBar_}, {fitting}, Qt::Horizontal);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  UserSettings::Write(settings::kBarState, saveState());
  app_.SaveSetting();
  QMainWindow::closeEvent(event);
}

}  // namespace paylark
