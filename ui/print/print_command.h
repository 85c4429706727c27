#pragma once

class QWidget;

namespace paylark {

class PaylarkApp;

// The Print Dues command: runs the modal Print dialog, which has no parent window.
void RunPrintDues(PaylarkApp& app, QWidget* window);

}  // namespace paylark
