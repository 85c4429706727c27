#include "ui/shell/month_row_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSvgRenderer>

#include "core/base/format.h"
#include "core/records/due_details.h"
#include "core/records/due_state.h"
#include "core/records/payment.h"
#include "ui/base/resources.h"

namespace paylark {
namespace {

constexpr int kFontPixels = 13;
constexpr int kTitleX = 100;
constexpr int kDueLineX = 110;
constexpr int kAmountRightGap = 40;
const QColor kIncomeText(0, 128, 0);
constexpr int kImageX = 10;
constexpr int kPaidMarkX = 45;
constexpr int kSeriesMarkX = 67;
constexpr int kAttachmentMarkX = 83;
constexpr int kMarkY = 8;
constexpr int kTitleToAmountGap = 12;
constexpr int kNarrowRightGap = 6;
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
  // A paid due shows what was paid.
  texts.amount = QString::fromStdString(FormatAmount(ListedAmount(record)));
  // Money coming in reads apart from bills at a glance.
  if (IsIncome(record))
    texts.amount.prepend(QLatin1Char('+'));
  texts.dueLine = QString::fromStdString(DateAndTimeText(record.dueDate));
  // A due paid in parts says how far it got beside its date; the amount stays what is due.
  if (IsPartlyPaid(record))
    texts.dueLine += QStringLiteral(" \u00B7 ") + QString::fromStdString(PartsPaidText(record));
  return texts;
}

MonthRowColors MonthRowPainter::ColorsOf(const DueRecord& record, int row, Selection selection,
                                         const OleDateTime& today) {
  if (selection == Selection::kSelected)
    return {QColor(0, 0, 0), QColor(255, 255, 255)};
  MonthRowColors colors;
  colors.background = row % 2 == 0 ? QColor(255, 255, 255) : QColor(214, 227, 206);
  switch (StateOf(record, today)) {
    case DueState::kPaid:
      colors.text = QColor(123, 123, 123);
      break;
    case DueState::kOverdue:
      colors.text = QColor(255, 0, 0);
      break;
    case DueState::kToday:
      colors.text = QColor(0, 0, 255);
      break;
    case DueState::kLater:
      colors.text = QColor(0, 0, 0);
      break;
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

MonthRowLayout MonthRowPainter::LayoutOf(const QRect& bounds, const MonthRowTexts& texts) const {
  const QFontMetrics bold(boldFont_);
  const QFontMetrics normal(normalFont_);
  const int half = bounds.height() / 2;
  const int lineOneTop = bounds.top() + (bounds.height() - half - bold.height()) / 2;
  const int lineTwoTop = bounds.top() + half + (half - normal.height()) / 2;
  const int amountWidth = bold.horizontalAdvance(texts.amount);
  const int dueLeft = bounds.left() + kDueLineX;
  const int dueWidth = normal.horizontalAdvance(texts.dueLine);

  MonthRowLayout layout;
  // Ends are exclusive: the amount ends 40 pixels before the row's right edge, centred on the
  // whole row, as long as the due line ends before it.
  int amountEnd = bounds.left() + bounds.width() - kAmountRightGap;
  const bool roomy = dueLeft + dueWidth + kTitleToAmountGap <= amountEnd - amountWidth;
  if (roomy) {
    layout.amountRect =
        QRect(amountEnd - amountWidth, bounds.top() + (bounds.height() - bold.height()) / 2,
              amountWidth, bold.height());
  } else {
    amountEnd = bounds.left() + bounds.width() - kNarrowRightGap;
    layout.amountRect = QRect(amountEnd - amountWidth, lineOneTop, amountWidth, bold.height());
  }
  const int dueRoom = qMax(bounds.left() + bounds.width() - kNarrowRightGap - dueLeft, 0);
  layout.dueLine = dueWidth <= dueRoom ? texts.dueLine
                                       : normal.elidedText(texts.dueLine, Qt::ElideRight, dueRoom);
  layout.dueRect =
      QRect(dueLeft, lineTwoTop, normal.horizontalAdvance(layout.dueLine), normal.height());

  const int titleLeft = bounds.left() + kTitleX;
  const int titleRoom = qMax(layout.amountRect.left() - kTitleToAmountGap - titleLeft, 0);
  layout.title = bold.elidedText(texts.titleLine, Qt::ElideRight, titleRoom);
  layout.titleRect =
      QRect(titleLeft, lineOneTop, bold.horizontalAdvance(layout.title), bold.height());
  return layout;
}

void MonthRowPainter::Paint(QPainter& painter, const QRect& bounds, const DueRecord& record,
                            int row, Selection selection, const OleDateTime& today,
                            Attachments attachments) {
  const qreal ratio = painter.device()->devicePixelRatioF();
  if (ratio != pixelRatio_) {
    pixelRatio_ = ratio;
    rowImage_ = Render(QStringLiteral("row-due"), kRowImageSize, ratio);
    paidMark_ = Render(QStringLiteral("mark-paid"), kMarkSize, ratio);
    seriesMark_ = Render(QStringLiteral("mark-series"), kMarkSize, ratio);
    attachmentMark_ = Render(QStringLiteral("mark-attachment"), kMarkSize, ratio);
  }
  const MonthRowColors colors = ColorsOf(record, row, selection, today);
  const MonthRowTexts texts = TextsOf(record);
  const MonthRowLayout layout = LayoutOf(bounds, texts);
  painter.save();
  painter.fillRect(QRect(bounds.left(), bounds.top(), bounds.width() + 20, bounds.height()),
                   colors.background);
  painter.setPen(colors.text);
  // Each rectangle is as wide as its text; a glyph's overhang must not be cut.
  constexpr int kOneLine = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
  painter.setFont(boldFont_);
  painter.drawText(layout.titleRect, kOneLine, layout.title);
  if (IsIncome(record) && selection != Selection::kSelected)
    painter.setPen(kIncomeText);
  painter.drawText(layout.amountRect, kOneLine, texts.amount);
  painter.setPen(colors.text);
  painter.setFont(normalFont_);
  painter.drawText(layout.dueRect, kOneLine, layout.dueLine);

  const int left = bounds.left();
  const int top = bounds.top();
  painter.drawPixmap(left + kImageX, top, rowImage_);
  if (IsPaid(record))
    painter.drawPixmap(left + kPaidMarkX, top + kMarkY, paidMark_);
  if (IsSeriesMember(record))
    painter.drawPixmap(left + kSeriesMarkX, top + kMarkY, seriesMark_);
  if (attachments == Attachments::kSome)
    painter.drawPixmap(left + kAttachmentMarkX, top + kMarkY, attachmentMark_);
  painter.restore();
}

}  // namespace paylark
