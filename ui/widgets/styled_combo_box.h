#pragma once

#include <QComboBox>

namespace paylark {

// The styled combo box, used as a plain drop-down list: it draws on the display style's palette
// and reports its selection changes like any QComboBox.
class StyledComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit StyledComboBox(QWidget* parent = nullptr);
};

}  // namespace paylark
