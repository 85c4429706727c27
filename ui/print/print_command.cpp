#include "ui/print/print_command.h"

#include "ui/print/print_dialog.h"

namespace paylark {

void RunPrintDues(PaylarkApp& app, QWidget*) {
  PrintDialog dialog(app, DefaultPrintPlaces());
  dialog.exec();
}

}  // namespace paylark
