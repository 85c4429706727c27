#include "ui/shell/status_panes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>

#include "ui/base/resources.h"

namespace paylark {
namespace {

struct PaneLook {
  const char* icon;
  const char* initialText;
  const char* accessibleName;
  int width;
};

constexpr PaneLook kPanes[3] = {
    {"status-paid", "Paid : ", "Paid sum", 130},
    {"status-unpaid", "Unpaid : ", "Unpaid sum", 130},
    {"status-total", "Total : ", "Total sum", 150},
};

}  // namespace

StatusPanes::StatusPanes(QStatusBar& bar) : QObject(&bar) {
  for (int i = 0; i < 3; ++i) {
    auto* pane = new QWidget(&bar);
    pane->setMinimumWidth(kPanes[i].width);  // wider only when a large sum needs it
    pane->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* layout = new QHBoxLayout(pane);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);
    auto* icon = new QLabel(pane);
    icon->setPixmap(SvgIcon(QString::fromLatin1(kPanes[i].icon)).pixmap(16, 16));
    icon->setFixedSize(16, 16);
    texts_[i] = new QLabel(QString::fromLatin1(kPanes[i].initialText), pane);
    texts_[i]->setAccessibleName(QString::fromLatin1(kPanes[i].accessibleName));
    layout->addWidget(icon);
    layout->addWidget(texts_[i], 1);
    bar.addPermanentWidget(pane);
  }
}

void StatusPanes::SetTexts(const QString& paid, const QString& unpaid, const QString& total) {
  texts_[0]->setText(paid);
  texts_[1]->setText(unpaid);
  texts_[2]->setText(total);
}

QString StatusPanes::Text(int pane) const {
  return texts_[pane]->text();
}

}  // namespace paylark
