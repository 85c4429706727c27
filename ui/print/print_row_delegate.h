#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

namespace paylark {

// Draws a print-list row: check box, the plain or series picture and the title in a bold font 12
// pixels high, struck through when the due is paid. The row holding the selection mark is drawn in
// the highlight-text colour on the face colour, every other row black on white.
class PrintRowDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int kFontPixels = 12;
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
