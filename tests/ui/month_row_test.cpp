#include <QImage>
#include <QPainter>
#include <QTest>
#include <functional>

#include "tests/ui/fakes.h"
#include "tests/ui/ui_tests.h"
#include "ui/shell/month_row_painter.h"
#include "ui/shell/month_shift.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/gradient_label.h"

namespace paylark::test {
namespace {

using Selection = MonthRowPainter::Selection;

DueRecord Due(const OleDateTime& due, bool paid = false, const std::string& seriesId = {}) {
  DueRecord record;
  record.title = "Rent";
  record.payTo = "Landlord";
  record.amount = 850;
  record.dueDate = due;
  record.paid = paid ? 1 : 0;
  record.seriesId = seriesId;
  return record;
}

QImage PaintRow(const DueRecord& record, int row, Selection selection) {
  QImage image(400, MonthRowPainter::kRowHeight, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  MonthRowPainter(QFont()).Paint(painter, image.rect(), record, row, selection,
                                 At(2026, 3, 15, 10));
  return image;
}

// True when some pixel of the area passes the test.
bool AnyPixel(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (test(image.pixelColor(x, y)))
        return true;
    }
  }
  return false;
}

bool Holds(const QImage& image, const QRect& area, const QColor& colour) {
  return AnyPixel(image, area, [&colour](QColor pixel) { return pixel == colour; });
}

DueRecord LongDue() {
  DueRecord record = Due(At(2026, 12, 28, 23, 59));
  record.title = "Quarterly water and sewage charge";
  record.payTo = "Stadtwerke Musterstadt";
  record.amount = 123456.78;
  return record;
}

// True when a pixel of the area is darker than the row's backgrounds.
bool HoldsInk(const QImage& image, const QRect& area) {
  return AnyPixel(image, area, [](QColor pixel) { return qGray(pixel.rgb()) < 160; });
}

}  // namespace

void MonthRowTest::NarrowRowsElideTheTitleAndKeepAmountOffTheDate() {
  const MonthRowPainter painter{QFont()};
  const MonthRowTexts texts = MonthRowPainter::TextsOf(LongDue());
  for (int width = 240; width <= 900; width += 15) {
    const MonthRowLayout layout = painter.LayoutOf(QRect(0, 0, width, 32), texts);
    const QByteArray name = "width " + QByteArray::number(width);
    QVERIFY2(!layout.amountRect.intersects(layout.dueRect), name);
    QVERIFY2(layout.titleRect.right() < layout.amountRect.left(), name);
    QVERIFY2(layout.amountRect.left() > 100 && layout.amountRect.right() < width, name);
    QVERIFY2(layout.dueRect.right() < width, name);
  }
  // Roomy: the defined places, the amount 40 pixels before the edge across both lines.
  const MonthRowLayout wide = painter.LayoutOf(QRect(0, 0, 700, 32), texts);
  QCOMPARE(wide.amountRect.right(), 700 - 40 - 1);
  QVERIFY(wide.amountRect.top() < 16 && wide.amountRect.bottom() >= 16);
  QCOMPARE(wide.title, texts.titleLine);
  // Narrow: the title gives way, the amount moves up beside it, the date stays whole.
  const MonthRowLayout narrow = painter.LayoutOf(QRect(0, 0, 290, 32), texts);
  QVERIFY(narrow.title.endsWith(QChar(0x2026)));
  QVERIFY(narrow.amountRect.bottom() < 16);
  QCOMPARE(narrow.dueLine, texts.dueLine);
}

void MonthRowTest::DoubleScaleRowsKeepTheirPlaces() {
  constexpr int kWidth = 290;
  QImage image(2 * kWidth, 2 * MonthRowPainter::kRowHeight, QImage::Format_RGB32);
  image.setDevicePixelRatio(2);
  image.fill(Qt::magenta);
  MonthRowPainter painter{QFont()};
  {
    QPainter onImage(&image);
    painter.Paint(onImage, QRect(0, 0, kWidth, MonthRowPainter::kRowHeight), LongDue(), 0,
                  Selection::kNotSelected, At(2026, 3, 15, 10));
  }
  const MonthRowLayout layout =
      painter.LayoutOf(QRect(0, 0, kWidth, 32), MonthRowPainter::TextsOf(LongDue()));
  const auto device = [](const QRect& logical) {
    return QRect(logical.topLeft() * 2, logical.size() * 2);
  };
  QVERIFY(HoldsInk(image, device(layout.amountRect)));
  QVERIFY(HoldsInk(image, device(layout.dueRect)));
  // Nothing is drawn on the due line's row right of the date: the amount sits above it.
  const QRect afterDate(layout.dueRect.right() + 3, 17, kWidth - layout.dueRect.right() - 3, 14);
  QVERIFY(!HoldsInk(image, device(afterDate)));
  // The background covers the whole row in device pixels.
  QCOMPARE(image.pixelColor(2 * kWidth - 1, 63), QColor(255, 255, 255));
}

void MonthRowTest::ColoursTellStateApart() {
  const OleDateTime today = At(2026, 3, 15, 10);
  const struct {
    const char* name;
    DueRecord record;
    QColor text;
  } cases[] = {
      {"paid overdue", Due(At(2026, 3, 1), true), QColor(123, 123, 123)},
      {"yesterday late", Due(At(2026, 3, 14, 23, 59)), QColor(255, 0, 0)},
      {"today early", Due(At(2026, 3, 15, 0, 0)), QColor(0, 0, 255)},
      {"today late", Due(At(2026, 3, 15, 23, 59)), QColor(0, 0, 255)},
      {"tomorrow", Due(At(2026, 3, 16)), QColor(0, 0, 0)},
  };
  for (const auto& c : cases) {
    const MonthRowColors even =
        MonthRowPainter::ColorsOf(c.record, 0, Selection::kNotSelected, today);
    QVERIFY2(even.text == c.text, c.name);
    QCOMPARE(even.background, QColor(255, 255, 255));
    const MonthRowColors odd =
        MonthRowPainter::ColorsOf(c.record, 3, Selection::kNotSelected, today);
    QCOMPARE(odd.background, QColor(214, 227, 206));
    const MonthRowColors selected =
        MonthRowPainter::ColorsOf(c.record, 1, Selection::kSelected, today);
    QCOMPARE(selected.background, QColor(0, 0, 0));
    QCOMPARE(selected.text, QColor(255, 255, 255));
  }
}

void MonthRowTest::RowPaintsBackgroundMarksAndSelection() {
  const QImage odd = PaintRow(Due(At(2026, 3, 20)), 1, Selection::kNotSelected);
  QCOMPARE(odd.pixelColor(5, 1), QColor(214, 227, 206));
  QCOMPARE(odd.pixelColor(399, 31), QColor(214, 227, 206));
  // Black title text right of x+100, on the first line only near the top.
  QVERIFY(Holds(odd, QRect(100, 0, 60, 16), QColor(0, 0, 0)));
  const QImage plain = PaintRow(Due(At(2026, 3, 20)), 0, Selection::kNotSelected);
  const QImage marked =
      PaintRow(Due(At(2026, 3, 20), true, "recId20260301000000"), 0, Selection::kNotSelected);
  QVERIFY(plain.copy(45, 8, 16, 16) != marked.copy(45, 8, 16, 16));
  QVERIFY(plain.copy(67, 8, 16, 16) != marked.copy(67, 8, 16, 16));
  // A series mark alone leaves a gap where the tick would be.
  const QImage seriesOnly =
      PaintRow(Due(At(2026, 3, 20), false, "recId20260301000000"), 0, Selection::kNotSelected);
  QCOMPARE(seriesOnly.copy(45, 8, 16, 16), plain.copy(45, 8, 16, 16));
  QVERIFY(seriesOnly.copy(67, 8, 16, 16) != plain.copy(67, 8, 16, 16));

  const QImage selected = PaintRow(Due(At(2026, 3, 1), true), 2, Selection::kSelected);
  QCOMPARE(selected.pixelColor(5, 1), QColor(0, 0, 0));
  QVERIFY(Holds(selected, QRect(100, 0, 60, 16), QColor(255, 255, 255)));
  // The amount ends 40 pixels before the right edge.
  QVERIFY(Holds(selected, QRect(330, 0, 30, 32), QColor(255, 255, 255)));
  QVERIFY(!Holds(selected, QRect(361, 0, 39, 32), QColor(255, 255, 255)));
}

void MonthRowTest::TitleLineOmitsEmptyPayTo() {
  DueRecord record = Due(At(2026, 2, 10, 18));
  QCOMPARE(MonthRowPainter::TextsOf(record).titleLine, QStringLiteral("Rent - Landlord"));
  record.payTo.clear();
  const MonthRowTexts texts = MonthRowPainter::TextsOf(record);
  QCOMPARE(texts.titleLine, QStringLiteral("Rent"));
  QCOMPARE(texts.amount, QStringLiteral("$850.00"));
  QCOMPARE(texts.dueLine, QStringLiteral("02/10/2026 06:00 PM"));
}

void MonthRowTest::ShiftedMonthClampsTheDay() {
  const auto shift = [](int y, int m, int d, int months) {
    return ShiftedMonth(QDateTime(QDate(y, m, d), QTime(15, 30), Qt::UTC), months);
  };
  QCOMPARE(shift(2024, 12, 5, +1).date(), QDate(2025, 1, 5));
  QCOMPARE(shift(2025, 1, 5, -1).date(), QDate(2024, 12, 5));
  QCOMPARE(shift(2024, 3, 31, -1).date(), QDate(2024, 2, 29));
  QCOMPARE(shift(2025, 3, 31, -1).date(), QDate(2025, 2, 28));
  QCOMPARE(shift(2025, 5, 31, +1).date(), QDate(2025, 6, 30));
  QCOMPARE(shift(2025, 6, 30, +1).date(), QDate(2025, 7, 30));
  QCOMPARE(shift(2025, 6, 30, +1).time(), QTime(0, 0));
}

void MonthRowTest::GradientBandsRunFromTopToBottom() {
  const QColor face = GuiDrawLayer::GetRGBColorFace(kDisplayStyle);
  QCOMPARE(face, QColor(173, 201, 243));
  const QColor top = GuiDrawLayer::GradientTop(face);
  const QColor bottom = GuiDrawLayer::GradientBottom(face);
  QCOMPARE(top, QColor(222, 234, 253));
  QCOMPARE(bottom, QColor(141, 178, 223));
  QCOMPARE(GradientLabel::BandColor(top, bottom, 0), top);
  // 222 + 191 * (141 - 222) / 192 = 222 - 80 (cut toward zero).
  QCOMPARE(GradientLabel::BandColor(top, bottom, 191), QColor(142, 179, 224));
  QCOMPARE(GuiDrawLayer::GradientBottom(QColor(100, 100, 100)), QColor(70, 70, 70));
  QCOMPARE(GuiDrawLayer::GradientTop(QColor(220, 222, 185)), QColor(243, 251, 221));

  GradientLabel label;
  label.resize(140, 192);
  const QImage image = label.grab().toImage();
  QCOMPARE(image.pixelColor(0, 0), top);
  QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(142, 179, 224));
}

}  // namespace paylark::test
