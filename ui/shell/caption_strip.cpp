#include "ui/shell/caption_strip.h"

#include <QBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

#include "ui/base/resources.h"
#include "ui/widgets/display_style.h"

namespace paylark {
namespace {

constexpr int kHeight = 40;

// A link at the right of the strip: bold, pointing, out of the focus chain, hidden until shown.
void StyleLink(QToolButton& link) {
  link.setAutoRaise(true);
  QFont font = link.font();
  font.setBold(true);
  link.setFont(font);
  link.setFocusPolicy(Qt::NoFocus);
  link.setCursor(Qt::PointingHandCursor);
  link.hide();
}

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
    : QWidget(parent), button_(new QToolButton(this)), reminders_(new QToolButton(this)) {
  row_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
  row_->setContentsMargins(4, 2, 4, 2);
  row_->setSpacing(0);
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
  row_->addWidget(button_);
  row_->addStretch(1);
  links_ = new QBoxLayout(QBoxLayout::LeftToRight);
  links_->setSpacing(0);
  row_->addLayout(links_);
  row_->setAlignment(links_, Qt::AlignRight);
  StyleLink(*reminders_);
  links_->addWidget(reminders_, 0, Qt::AlignRight);
  reminders_->setObjectName(QStringLiteral("reminders"));
  reminders_->setToolTip(QStringLiteral("Go to the earliest due that needs paying"));
  connect(reminders_, &QToolButton::clicked, this, &CaptionStrip::RemindersClicked);
  setFixedHeight(kHeight);
  ShowCaption(QStringLiteral("Paylark"), kApplication);
}

// The warning and the count stand beside the caption where the strip has room for them and the
// caption's picture; otherwise they go to a line of their own below it, one above the other
// where even that line is too narrow. Neither is ever cut.
void CaptionStrip::FitLinks() {
  const QMargins margins = row_->contentsMargins();
  const int inner = width() - margins.left() - margins.right();
  int wide = 0;
  for (int i = 0; i < links_->count(); ++i) {
    if (const QWidget* link = links_->itemAt(i)->widget(); !link->isHidden())
      wide += link->sizeHint().width();
  }
  const bool oneLine = inner >= button_->minimumWidth() + wide;
  row_->setDirection(oneLine ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
  links_->setDirection(inner >= wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
  row_->invalidate();
  setFixedHeight(std::max(kHeight, row_->sizeHint().height()));
}

void CaptionStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitLinks();
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
  FitLinks();
}

void CaptionStrip::ShowNotice(const QString& key, const QString& text, const QString& toolTip) {
  QToolButton* notice = NoticeNamed(key);
  if (!notice) {
    if (text.isEmpty())
      return;
    notice = new QToolButton(this);
    notice->setObjectName(key);
    StyleLink(*notice);
    QPalette colours = notice->palette();
    colours.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    notice->setPalette(colours);
    connect(notice, &QToolButton::clicked, this, [this, key] { emit NoticeClicked(key); });
    // Notices stand before the reminder count, in the order they first came.
    links_->insertWidget(links_->count() - 1, notice, 0, Qt::AlignRight);
    notices_.push_back(notice);
  }
  notice->setText(text);
  notice->setAccessibleName(text);
  notice->setToolTip(toolTip);
  notice->setVisible(!text.isEmpty());
  FitLinks();
}

QString CaptionStrip::notice(const QString& key) const {
  const QToolButton* notice = NoticeNamed(key);
  return !notice || notice->isHidden() ? QString() : notice->text();
}

QToolButton* CaptionStrip::NoticeNamed(const QString& key) const {
  const auto found = std::find_if(notices_.begin(), notices_.end(),
                                  [&key](const QToolButton* n) { return n->objectName() == key; });
  return found == notices_.end() ? nullptr : *found;
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
