#include "ui/shell/main_tool_bar.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionToolBar>

#include "ui/shell/commands.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/gradient_label.h"
#include "ui/widgets/section_keys.h"

namespace paylark {
namespace {

constexpr int kEmbeddedWidth = 140;

}  // namespace

MonthPicker::MonthPicker(QWidget* parent) : QDateTimeEdit(parent) {
  setTimeSpec(Qt::UTC);
  setMinimumDateTime(QDateTime(QDate(100, 1, 1), QTime(0, 0), Qt::UTC));
  setDisplayFormat(QStringLiteral("MMMM  yyyy"));
  setCalendarPopup(true);
  setAccessibleName(QStringLiteral("Month"));
  UseSectionKeys(*this);
}

FilterCombo::FilterCombo(QWidget* parent) : StyledComboBox(parent) {
  addItems({QStringLiteral("All"), QStringLiteral("Paid Dues"), QStringLiteral("Unpaid Dues")});
  setCurrentIndex(0);
  setAccessibleName(QStringLiteral("Filter"));
}

MainToolBar::MainToolBar(const Commands& commands, QAction* toggleDetails, QWidget* parent)
    : QToolBar(QStringLiteral("ProjectToolBar"), parent),
      datePicker_(new MonthPicker(this)),
      filter_(new FilterCombo(this)),
      label_(new GradientLabel(this)) {
  setObjectName(QStringLiteral("ProjectToolBar"));
  setIconSize(QSize(16, 16));
  datePicker_->setFixedWidth(kEmbeddedWidth);
  filter_->setFixedWidth(kEmbeddedWidth);
  label_->setFixedWidth(kEmbeddedWidth);
  label_->setMinimumHeight(22);

  addAction(commands.previousMonth);
  addWidget(datePicker_);
  addAction(commands.nextMonth);
  addSeparator();
  addAction(commands.newDue);
  addAction(commands.modifyDue);
  addAction(commands.deleteDue);
  addAction(commands.markPaid);
  addSeparator();
  addWidget(label_);
  addWidget(filter_);
  addSeparator();
  addAction(commands.refresh);
  addAction(commands.synchronize);
  addAction(toggleDetails);
  addSeparator();
  addAction(commands.excelWithNotes);
  addAction(commands.wordWithNotes);
  addAction(commands.htmlWithNotes);
  addAction(commands.pdfWithNotes);
  addSeparator();
  addAction(commands.help);
  addAction(commands.about);
}

void MainToolBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor face = GuiDrawLayer::GetRGBColorFace(kDisplayStyle);
  QLinearGradient fill(0, 0, 0, height());
  fill.setColorAt(0, GuiDrawLayer::GradientTop(face));
  fill.setColorAt(1, face);
  painter.fillRect(rect(), fill);
  painter.setPen(GuiDrawLayer::GradientBottom(face));
  painter.drawLine(0, height() - 1, width(), height() - 1);
  QStyleOptionToolBar option;
  initStyleOption(&option);
  if (isMovable()) {
    option.rect = style()->subElementRect(QStyle::SE_ToolBarHandle, &option, this);
    if (option.rect.isValid())
      style()->drawPrimitive(QStyle::PE_IndicatorToolBarHandle, &option, &painter, this);
  }
}

}  // namespace paylark
