#include "ui/shell/caption_strip.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>

#include "ui/base/resources.h"
#include "ui/widgets/display_style.h"

namespace paylark {
namespace {

const char* ImageName(CaptionStrip::Image image) {
  switch (image) {
    case CaptionStrip::kDue:
      return "caption-due";
    case CaptionStrip::kSeries:
      return "caption-series";
    case CaptionStrip::kApplication:
      break;
  }
  return "caption-app";
}

}  // namespace

CaptionStrip::CaptionStrip(QWidget* parent)
    : QWidget(parent),
      button_(new QToolButton(this)),
      reminders_(new QToolButton(this)),
      balanceWarning_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  button_->setAutoRaise(true);
  button_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button_->setIconSize(QSize(32, 32));
  button_->setFocusPolicy(Qt::NoFocus);
  QFont captionFont = button_->font();
  captionFont.setBold(true);
  captionFont.setPointSizeF(captionFont.pointSizeF() * 1.2);
  button_->setFont(captionFont);
  QPalette colors = button_->palette();
  colors.setColor(QPalette::ButtonText, GuiDrawLayer::GetRGBColorBTNHigh(kDisplayStyle));
  button_->setPalette(colors);
  // A long caption gives way to the warning and the reminder count, down to its picture.
  button_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  button_->setMinimumWidth(button_->iconSize().width() + 8);
  layout->addWidget(button_);
  layout->addStretch(1);
  for (QToolButton* link : {balanceWarning_, reminders_}) {
    link->setAutoRaise(true);
    QFont countFont = link->font();
    countFont.setBold(true);
    link->setFont(countFont);
    link->setFocusPolicy(Qt::NoFocus);
    link->setCursor(Qt::PointingHandCursor);
    link->hide();
    layout->addWidget(link);
  }
  reminders_->setObjectName(QStringLiteral("reminders"));
  balanceWarning_->setObjectName(QStringLiteral("balanceWarning"));
  reminders_->setToolTip(QStringLiteral("Go to the earliest due that needs paying"));
  connect(reminders_, &QToolButton::clicked, this, &CaptionStrip::RemindersClicked);
  balanceWarning_->setToolTip(QStringLiteral("Open the forecast"));
  QPalette warningColours = balanceWarning_->palette();
  warningColours.setColor(QPalette::ButtonText, QColor(255, 0, 0));
  balanceWarning_->setPalette(warningColours);
  connect(balanceWarning_, &QToolButton::clicked, this, &CaptionStrip::BalanceWarningClicked);
  setFixedHeight(40);
  ShowCaption(QStringLiteral("Paylark"), kApplication);
}

void CaptionStrip::ShowCaption(const QString& text, Image image) {
  image_ = image;
  button_->setText(QStringLiteral("     ") + text);
  button_->setToolTip(text);
  button_->setIcon(SvgIcon(QString::fromLatin1(ImageName(image))));
  button_->setAccessibleName(text);
  update();
}

void CaptionStrip::ShowReminders(const QString& text, bool overdue) {
  reminders_->setText(text);
  reminders_->setAccessibleName(text);
  QPalette colors = reminders_->palette();
  colors.setColor(QPalette::ButtonText, overdue ? QColor(255, 0, 0) : QColor(0, 0, 255));
  reminders_->setPalette(colors);
  reminders_->setVisible(!text.isEmpty());
}

void CaptionStrip::ShowBalanceWarning(const QString& text) {
  balanceWarning_->setText(text);
  balanceWarning_->setAccessibleName(text);
  balanceWarning_->setVisible(!text.isEmpty());
}

QString CaptionStrip::balanceWarning() const {
  return balanceWarning_->isHidden() ? QString() : balanceWarning_->text();
}

QString CaptionStrip::reminders() const {
  return reminders_->isHidden() ? QString() : reminders_->text();
}

QString CaptionStrip::caption() const {
  return button_->text();
}

void CaptionStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor face = GuiDrawLayer::GetRGBColorFace(kDisplayStyle);
  QLinearGradient fill(0, 0, 0, height());
  fill.setColorAt(0, GuiDrawLayer::GradientTop(face));
  fill.setColorAt(1, GuiDrawLayer::GradientBottom(face));
  painter.fillRect(rect(), fill);
  painter.setPen(GuiDrawLayer::GradientBottom(face).darker(120));
  painter.drawLine(0, height() - 1, width(), height() - 1);
}

}  // namespace paylark
