#pragma once

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <string>

#include "core/base/clock.h"
#include "core/base/messages.h"
#include "core/records/due_record.h"
#include "ui/base/desktop_services.h"
#include "ui/base/dialog_commands.h"
#include "ui/base/paylark_app.h"
#include "ui/base/prompt.h"

namespace paylark::test {

// Answers message boxes from a queue (OK when it runs dry) and keeps every question asked.
class FakePrompt final : public Prompt {
 public:
  PromptAnswer Ask(QWidget*, const QString& text, PromptButtons buttons, PromptIcon) override;
  std::deque<PromptAnswer> answers;
  QStringList asked;
  std::vector<PromptButtons> buttons;
  std::function<void()> whileAsking;  // runs as each question is asked, when set
};

// Records what the window asked of the desktop; pickers return what the test put in.
class FakeDesktop final : public DesktopServices {
 public:
  QString ChooseSavePath(QWidget*, const SaveRequest& request) override;
  QString ChooseDirectory(QWidget*, const QString& title, const QString& startFolder) override;
  QString ChooseOpenPath(QWidget*, const QString&, const QString&,
                         const QString& startFolder) override {
    openStarts << startFolder;
    return openPath;
  }
  bool CanOpen(const QString&) override { return canOpen; }
  bool OpenFile(const QString& path) override;
  bool ShowInFolder(const QString& path) override;
  bool StartDetached(const QString& program, const QStringList& arguments) override;
  int RunProgram(const QString& program, const QStringList& arguments) override;
  // Keeps the previews asked for instead of showing them.
  Status ShowPrintPreview(QWidget*, const QString&,
                          const std::function<void(QPagedPaintDevice*)>& paint) override {
    ++previews;
    lastPaint = paint;
    return Status::Ok();
  }

  bool canOpen = true;  // whether the desktop names a program for every file
  QString savePath;
  QString openPath;
  QStringList openStarts;
  QString directory;
  QStringList directoryTitles;
  QStringList directoryStarts;
  QStringList saveTitles;
  QStringList suggestedPaths;
  QStringList opened;
  QStringList shownInFolder;
  bool openSucceeds = true;
  QStringList started;
  QStringList ran;
  int exitCode = 0;  // what every RunProgram returns
  int previews = 0;
  std::function<void(QPagedPaintDevice*)> lastPaint;
};

// Counts the dialog commands the window asked for; none opens a dialog.
class FakeDialogs final : public DialogCommands {
 public:
  EditOutcome NewDue(QWidget*) override {
    ++newDues;
    return EditOutcome::kNothingChanged;
  }
  EditOutcome ModifyDue(QWidget*, const std::string& recordId) override {
    modified.push_back(recordId);
    return change ? change(recordId) : EditOutcome::kNothingChanged;
  }
  void Print(QWidget*) override { ++prints; }
  EditOutcome MarkPaid(QWidget*, const std::string& recordId) override {
    markedPaid.push_back(recordId);
    return change ? change(recordId) : EditOutcome::kNothingChanged;
  }

  // What Modify and Mark Paid do to the due, as the user's answers would; nothing by default.
  std::function<EditOutcome(const std::string&)> change;
  int newDues = 0;
  std::vector<std::string> markedPaid;
  int prints = 0;
  std::vector<std::string> modified;
};

// A working directory in a temporary folder, settings in another, a clock fixed at
// 2026-03-15 10:00, and the application object over them.
class Workspace final {
 public:
  Workspace();
  QString directory() const { return folder_.path(); }
  // Adds a due (unsynced writes) and returns its record ID.
  std::string AddDue(const std::string& title, const std::string& payTo, double amount,
                     const OleDateTime& due, bool paid = false, const std::string& seriesId = {});

  FixedClock clock;
  FakePrompt prompt;
  FakeDesktop desktop;
  PaylarkApp app;

 private:
  QTemporaryDir folder_;
};

OleDateTime At(int year, int month, int day, int hour = 0, int minute = 0);
// Points QSettings at a fresh temporary folder for the rest of the test.
void UseFreshSettings();
// True when $PAYLARK_SNAPSHOTS names a folder for pictures of the windows.
bool SnapshotsWanted();
// Saves the widget as <name> in $PAYLARK_SNAPSHOTS when that is set, drawn at pixelRatio
// device pixels per pixel.
void Snapshot(QWidget& widget, const QString& name, qreal pixelRatio = 1);
// Drags the files over the target and drops them at `at`, as a file manager does; each step must
// be accepted.
void DropFiles(QWidget& target, QPoint at, const QStringList& paths);
// The title of the modal window that `open` shows, which is closed at once.
QString ModalTitleOf(const std::function<void()>& open);

// A message's exact English text, as the window shows it.
inline QString Text(const Message& message) {
  return QString::fromStdString(MessageText(message));
}
inline QString Text(MessageId id) {
  return Text(Message{id, {}, 0, {}});
}

}  // namespace paylark::test
