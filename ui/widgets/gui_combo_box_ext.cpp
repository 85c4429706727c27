#include "ui/widgets/gui_combo_box_ext.h"

#include "ui/widgets/display_style.h"

namespace paylark {

CGuiComboBoxExt::CGuiComboBoxExt(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setPalette(DisplayPalette());
}

}  // namespace paylark
