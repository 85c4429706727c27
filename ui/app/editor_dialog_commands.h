#pragma once

#include "ui/base/dialog_commands.h"

namespace paylark {

class PaylarkApp;

// The real dialogs behind the main window's New, Modify, Mark Paid and Print commands.
class EditorDialogCommands final : public DialogCommands {
 public:
  explicit EditorDialogCommands(PaylarkApp& app) : app_(app) {}

  EditOutcome NewDue(QWidget* parent) override;
  EditOutcome ModifyDue(QWidget* parent, const std::string& recordId) override;
  void Print(QWidget* parent) override;
  EditOutcome MarkPaid(QWidget* parent, const std::string& recordId) override;

 private:
  PaylarkApp& app_;
};

}  // namespace paylark
