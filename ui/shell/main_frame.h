#pragma once

#include <QMainWindow>

#include "ui/app/start_up.h"
#include "ui/shell/caption_strip.h"

class QSplitter;

namespace paylark {

class CDetailsBar;
class CMainToolBar;
class COutlookView;
class CPaylarkApp;
class CPaylarkView;
class Commands;
class ExportCommands;
class StatusPanes;

// The main window. It builds the furniture (menus, toolbar, status panes, caption strip,
// navigation folders, month list, details bar), keeps the selected month, and routes every
// command to the code that does the work.
class CMainFrame final : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CPaylarkApp& app, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Re-reads the month picker into the selected month and refills the list.
  void RefreshMonth();
  // Moves the picker by months (the day clamped to the new month) and refreshes.
  void ShiftMonth(int months);
  // Reads every record file again, then refreshes.
  void ReloadAll();
  void ShowCaption(const QString& text, CaptionStrip::Image image);
  // Shows a note in the status bar's message pane until the next one.
  void ShowNote(const QString& note);

  void OnNewDue();
  void OnModifyDue();
  void OnDeleteDue();
  void OnChangeDirectory();
  void OnAbout();

  // The Working Directory dialog used by Change Directory; tests put their own.
  void SetDirectoryAsker(AskDirectory ask) { askDirectory_ = std::move(ask); }

  Commands& commands() { return *commands_; }
  CMainToolBar& toolBar() { return *toolBar_; }
  CPaylarkView& view() { return *view_; }
  CDetailsBar& detailsBar() { return *detailsBar_; }
  CaptionStrip& captionStrip() { return *captionStrip_; }
  StatusPanes& statusPanes() { return *statusPanes_; }
  COutlookView& navigation() { return *navigation_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectCommands();
  void ConnectExports();
  void SwitchPane(int step);
  void ModifyRecord(const QString& recordId);

  CPaylarkApp& app_;
  Commands* commands_;
  CDetailsBar* detailsBar_;
  CMainToolBar* toolBar_;
  COutlookView* navigation_;
  CaptionStrip* captionStrip_;
  CPaylarkView* view_;
  StatusPanes* statusPanes_;
  ExportCommands* exports_;
  AskDirectory askDirectory_;
};

}  // namespace paylark
