#pragma once

#include <QDialogButtonBox>

class QDialog;

namespace paylark {

// The dialog's OK and Cancel, named "ok" and "cancel" for tests and wired to its accept and
// reject; the dialog owns them.
QDialogButtonBox* OkCancelButtons(QDialog& dialog);

}  // namespace paylark
