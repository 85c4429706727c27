#include "ui/forecast/register_view.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>

#include "ui/forecast/forecast_register_model.h"

namespace paylark {

RegisterView::RegisterView(QWidget* parent) : QTableView(parent) {
  horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  horizontalHeader()->setResizeContentsPrecision(0);  // the rows on screen
}

int RegisterView::sizeHintForColumn(int column) const {
  int width = QTableView::sizeHintForColumn(column);
  const auto* texts = qobject_cast<const ForecastRegisterModel*>(model());
  if (!texts)
    return width;
  // Measured in the bold of today's row, the widest any of them is drawn, with the item's margins.
  QFont bold = font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  for (const QString& text : texts->WidestTexts(column))
    width = std::max(width, metrics.horizontalAdvance(text) + margins);
  return width;
}

}  // namespace paylark
