#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

#include "core/records/due_record.h"

class QPainter;

namespace paylark {

// The texts of one month-list row, formatted once per paint.
struct MonthRowTexts {
  QString titleLine;  // title, then " - " and the pay-to name when there is one
  QString amount;     // the currency text
  QString dueLine;    // due date, a blank, due time
};

// Where the texts of one row go, in the row's coordinates: each rectangle holds its text exactly.
// When the due line and the amount would meet, the amount moves up beside the title line and the
// title gives way first; the due line is cut only when the row is too narrow for it alone.
struct MonthRowLayout {
  QString title;  // the title line, elided to its room
  QRect titleRect;
  QRect amountRect;
  QString dueLine;  // the due line, elided only when nothing else helps
  QRect dueRect;
};

struct MonthRowColors {
  QColor background;
  QColor text;
};

// Draws one row of the month list: the row picture, the paid and series marks, the bold title
// line, the right-aligned amount and the due date line, in the colours that tell paid, overdue,
// due-today and later dues apart. The list view only hands it the row.
class MonthRowPainter final {
 public:
  static constexpr int kRowHeight = 32;

  enum class Selection { kSelected, kNotSelected };
  enum class Attachments { kNone, kSome };

  static MonthRowTexts TextsOf(const DueRecord& record);
  // White on black for the selection mark; otherwise white or RGB(214, 227, 206) alternately,
  // with grey text when paid, red when due before today, blue today, black later.
  static MonthRowColors ColorsOf(const DueRecord& record, int row, Selection selection,
                                 const OleDateTime& today);

  explicit MonthRowPainter(const QFont& baseFont);
  MonthRowLayout LayoutOf(const QRect& bounds, const MonthRowTexts& texts) const;
  // A due with attachments shows a paperclip after the paid and series marks.
  void Paint(QPainter& painter, const QRect& bounds, const DueRecord& record, int row,
             Selection selection, const OleDateTime& today,
             Attachments attachments = Attachments::kNone);

 private:
  const QPixmap& Picture(const QString& name, QSize size, qreal pixelRatio);

  QFont boldFont_;
  QFont normalFont_;
  qreal pixelRatio_ = 0;
  QPixmap rowImage_;
  QPixmap paidMark_;
  QPixmap seriesMark_;
  QPixmap attachmentMark_;
};

}  // namespace paylark
