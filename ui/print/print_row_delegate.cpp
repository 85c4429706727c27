#include "ui/print/print_row_delegate.h"

#include <QApplication>

#include "ui/base/resources.h"
#include "ui/print/print_list_model.h"
#include "ui/widgets/display_style.h"

namespace paylark {

PrintRowDelegate::PrintRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent),
      plainIcon_(SvgIcon(QStringLiteral("print-row"))),
      seriesIcon_(SvgIcon(QStringLiteral("print-row-series"))) {}

QSize PrintRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const QSize base = QStyledItemDelegate::sizeHint(option, index);
  return QSize(base.width(), qMax(base.height(), kRowHeight));
}

void PrintRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (index.column() == PrintListModel::kDueDateColumn) {
    const bool series = index.data(PrintListModel::kSeriesRole).toBool();
    option->icon = series ? seriesIcon_ : plainIcon_;
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->decorationSize = QSize(16, 16);
  }

  // The selection mark is drawn in our colours rather than the style's highlight; the check
  // box keeps black on white in every row.
  const QColor face = GuiDrawLayer::GetRGBColorFace(kDisplayStyle);
  const bool marked = option->state.testFlag(QStyle::State_Selected);
  option->backgroundBrush = marked ? face : QColor(Qt::white);
  option->palette.setColor(QPalette::Highlight, face);
  option->palette.setColor(QPalette::HighlightedText,
                           QApplication::palette().color(QPalette::HighlightedText));
  option->palette.setColor(QPalette::Text, Qt::black);
  option->palette.setColor(QPalette::Base, Qt::white);
}

}  // namespace paylark
