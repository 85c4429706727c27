#include "ui/widgets/styled_combo_box.h"

#include "ui/widgets/display_style.h"

namespace paylark {

StyledComboBox::StyledComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setPalette(DisplayPalette());
}

}  // namespace paylark
