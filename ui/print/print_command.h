#pragma once

class QWidget;

namespace paylark {

class CPaylarkApp;

// The Print Dues command: runs the modal Print dialog, which has no parent window.
void RunPrintDues(CPaylarkApp& app, QWidget* window);

}  // namespace paylark
