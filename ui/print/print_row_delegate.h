#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

namespace paylark {

// Draws a print-list row in the model's font: check box and the plain or series picture before
// the due date, then title, pay-to and amount. The row holding the selection mark is drawn in the
// highlight-text colour on the face colour, every other row black on white.
class PrintRowDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 22;

  explicit PrintRowDelegate(QObject* parent = nullptr);

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  QIcon plainIcon_;
  QIcon seriesIcon_;
};

}  // namespace paylark
