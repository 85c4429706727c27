#pragma once

#include <QLabel>

namespace paylark {

// A one-line label that gives way when its room runs short: it can shrink to a few characters
// and then shows its text cut with "…" at the end. text() and the accessible text stay whole.
class ElidedLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(const QString& text, QWidget* parent = nullptr);

  // The text as drawn in the present width.
  QString ShownText() const;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace paylark
