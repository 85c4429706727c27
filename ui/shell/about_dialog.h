#pragma once

#include <QDialog>

namespace paylark {

// "About Paylark": the application icon, the name and version, how to reach us, and OK.
class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace paylark
