#include "ui/shell/month_row_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSvgRenderer>

#include "core/base/format.h"
#include "core/records/due_details.h"
#include "ui/base/resources.h"

namespace paylark {
namespace {

constexpr int kFontPixels = 13;
constexpr int kTitleX = 100;
constexpr int kDueLineX = 110;
constexpr int kAmountRightGap = 40;
constexpr int kImageX = 10;
constexpr int kPaidMarkX = 45;
constexpr int kSeriesMarkX = 67;
constexpr int kMarkY = 8;
constexpr int kTitleToAmountGap = 12;
constexpr QSize kRowImageSize(32, 30);
constexpr QSize kMarkSize(16, 16);

QPixmap Render(const QString& name, QSize size, qreal pixelRatio) {
  QPixmap pixmap(size * pixelRatio);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(SvgPath(name));
  if (renderer.isValid()) {
    QPainter painter(&pixmap);
    renderer.render(&painter);
  }
  pixmap.setDevicePixelRatio(pixelRatio);
  return pixmap;
}

}  // namespace

MonthRowTexts MonthRowPainter::TextsOf(const DueRecord& record) {
  MonthRowTexts texts;
  texts.titleLine = QString::fromStdString(record.title);
  if (!record.payTo.empty())
    texts.titleLine += " - " + QString::fromStdString(record.payTo);
  texts.amount = QString::fromStdString(FormatAmount(record.amount));
  texts.dueLine = QString::fromStdString(DateAndTimeText(record.dueDate));
  return texts;
}

MonthRowColors MonthRowPainter::ColorsOf(const DueRecord& record, int row, Selection selection,
                                         const OleDateTime& today) {
  if (selection == Selection::kSelected)
    return {QColor(0, 0, 0), QColor(255, 255, 255)};
  MonthRowColors colors;
  colors.background = row % 2 == 0 ? QColor(255, 255, 255) : QColor(214, 227, 206);
  if (IsPaid(record)) {
    colors.text = QColor(123, 123, 123);
  } else if (record.dueDate.DateOnly() < today.DateOnly()) {
    colors.text = QColor(255, 0, 0);
  } else if (record.dueDate.DateOnly() == today.DateOnly()) {
    colors.text = QColor(0, 0, 255);
  } else {
    colors.text = QColor(0, 0, 0);
  }
  return colors;
}

MonthRowPainter::MonthRowPainter(const QFont& baseFont)
    : boldFont_(baseFont), normalFont_(baseFont) {
  boldFont_.setPixelSize(kFontPixels);
  boldFont_.setWeight(QFont::Bold);
  normalFont_.setPixelSize(kFontPixels);
  normalFont_.setWeight(QFont::Normal);
}

void MonthRowPainter::Paint(QPainter& painter, const QRect& bounds, const DueRecord& record,
                            int row, Selection selection, const OleDateTime& today) {
  const qreal ratio = painter.device()->devicePixelRatioF();
  if (ratio != pixelRatio_) {
    pixelRatio_ = ratio;
    rowImage_ = Render(QStringLiteral("row-due"), kRowImageSize, ratio);
    paidMark_ = Render(QStringLiteral("mark-paid"), kMarkSize, ratio);
    seriesMark_ = Render(QStringLiteral("mark-series"), kMarkSize, ratio);
  }
  const MonthRowColors colors = ColorsOf(record, row, selection, today);
  const MonthRowTexts texts = TextsOf(record);
  const int h = bounds.height();
  const int half = h / 2;
  const int left = bounds.left();
  const int top = bounds.top();
  painter.save();
  painter.fillRect(QRect(left, top, bounds.width() + 20, h), colors.background);
  painter.setPen(colors.text);

  painter.setFont(boldFont_);
  const QRect amountRect(left, top, bounds.width() - kAmountRightGap, h);
  const int amountWidth = QFontMetrics(boldFont_).horizontalAdvance(texts.amount);
  const QRect titleRect(left + kTitleX, top, bounds.width() - kTitleX, h - half);
  const int titleRoom = amountRect.right() - amountWidth - kTitleToAmountGap - titleRect.left();
  const QString title =
      QFontMetrics(boldFont_).elidedText(texts.titleLine, Qt::ElideRight, qMax(titleRoom, 0));
  painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
  painter.drawText(amountRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                   texts.amount);

  painter.setFont(normalFont_);
  const QRect dueRect(left + kDueLineX, top + half, bounds.width() - kDueLineX, h - half);
  painter.drawText(dueRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texts.dueLine);

  painter.drawPixmap(left + kImageX, top, rowImage_);
  if (IsPaid(record))
    painter.drawPixmap(left + kPaidMarkX, top + kMarkY, paidMark_);
  if (IsSeriesMember(record))
    painter.drawPixmap(left + kSeriesMarkX, top + kMarkY, seriesMark_);
  painter.restore();
}

}  // namespace paylark
