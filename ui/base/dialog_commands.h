#pragma once

#include <string>

class QWidget;

namespace paylark {

// Whether a command changed records, so the window knows whether to refresh.
enum class EditOutcome { kRecordsChanged, kNothingChanged };

// The commands whose dialogs live in other areas (the due editor, the print dialog). The main
// window is given one at construction; the program wires in the real dialogs, tests their own.
class DialogCommands {
 public:
  virtual ~DialogCommands() = default;
  // The New Due wizard; the window refreshes afterwards whatever it returns.
  virtual EditOutcome NewDue(QWidget* parent) = 0;
  // The series-aware Modify flow for one record; the window refreshes on kRecordsChanged.
  virtual EditOutcome ModifyDue(QWidget* parent, const std::string& recordId) = 0;
  // The modal Print dialog; nothing follows it.
  virtual void Print(QWidget* parent) = 0;
  // Mark Paid for one due; the window refreshes on kRecordsChanged. Without a dialog of its
  // own, nothing changes.
  virtual EditOutcome MarkPaid(QWidget* /*parent*/, const std::string& /*recordId*/) {
    return EditOutcome::kNothingChanged;
  }
};

}  // namespace paylark
