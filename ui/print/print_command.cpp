#include "ui/print/print_command.h"

#include "ui/print/print_dues_dialog.h"

namespace paylark {

void RunPrintDues(CPaylarkApp& app, QWidget*) {
  CPrintDuesDialog dialog(app, DefaultPrintPlaces());
  dialog.exec();
}

}  // namespace paylark
