#pragma once

#include <QDialog>
#include <functional>

namespace paylark {

// Runs a modal dialog and returns its result (QDialog::Accepted or Rejected). The window runs
// each dialog with exec(); tests drive the real widgets and close the dialog themselves.
using DialogRunner = std::function<int(QDialog&)>;

inline int RunModal(QDialog& dialog) {
  return dialog.exec();
}

}  // namespace paylark
