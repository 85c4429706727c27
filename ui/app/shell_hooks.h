#pragma once

#include <functional>
#include <string>

class QWidget;

namespace paylark {

class CPaylarkApp;

// Whether a command changed records, so the window knows whether to refresh.
enum class EditOutcome { kRecordsChanged, kNothingChanged };

// The commands whose dialogs live in other areas (the due editor, the print dialog). Each area
// installs its function once at start-up; a hook left empty makes its command do nothing.
struct ShellHooks {
  // The New Due wizard; the window refreshes afterwards whatever it returns.
  std::function<EditOutcome(CPaylarkApp& app, QWidget* parent)> newDue;
  // The series-aware Modify flow for one record; the window refreshes on kRecordsChanged.
  std::function<EditOutcome(CPaylarkApp& app, QWidget* parent, const std::string& recordId)>
      modifyDue;
  // The modal Print dialog; nothing follows it.
  std::function<void(CPaylarkApp& app, QWidget* parent)> print;
};

}  // namespace paylark
