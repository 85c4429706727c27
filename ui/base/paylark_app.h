#pragma once

#include <QString>
#include <string>

#include "core/base/clock.h"
#include "core/base/ole_date_time.h"
#include "core/records/record_store.h"
#include "ui/base/desktop_services.h"
#include "ui/base/prompt.h"

class QWidget;

namespace paylark {

// The application-wide values of one Paylark process: the selected month, the record store
// (which owns the working directory), and the seams (clock, prompt, desktop) that every window
// reaches through it. One instance lives as long as the process (or the test).
class PaylarkApp final {
 public:
  // The records reach the disk through files, which must outlive the application object.
  PaylarkApp(const Clock& clock, Prompt& prompt, DesktopServices& desktop, FileSystem& files);
  PaylarkApp(const PaylarkApp&) = delete;
  PaylarkApp& operator=(const PaylarkApp&) = delete;

  const Clock& clock() const { return clock_; }
  Prompt& prompt() { return prompt_; }
  DesktopServices& desktop() { return desktop_; }
  RecordStore& store() { return store_; }

  const std::string& workingDirectory() const { return store_.workingDirectory(); }
  // Points the store at the new folder, and at its snapshot, without reading it.
  void SetWorkingDirectory(const std::string& path);
  // Writes the working directory to the settings.
  void SaveSetting() const;
  // Loads every record again; the text is empty, or says how many files were skipped. When
  // many files must be read, a progress dialog over parent (or alone) counts them.
  QString Reload(QWidget* parent = nullptr);

  const OleDateTime& selectedMonth() const { return selectedMonth_; }
  void SetSelectedMonth(const OleDateTime& month) { selectedMonth_ = month; }

 private:
  const Clock& clock_;
  Prompt& prompt_;
  DesktopServices& desktop_;
  RecordStore store_;
  OleDateTime selectedMonth_;
};

// Empty, or says that the records folder could not be read, or how many record files the load
// skipped.
QString SkippedNote(const ReloadReport& report);

}  // namespace paylark
