#include "ui/shell/status_panes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>

#include "ui/base/resources.h"
#include "ui/widgets/elided_label.h"

namespace paylark {
namespace {

struct PaneLook {
  const char* icon;
  const char* initialText;
  const char* accessibleName;
  int width;
};

constexpr PaneLook kPanes[4] = {
    {"status-paid", "Paid : ", "Paid sum", 130},
    {"status-unpaid", "Unpaid : ", "Unpaid sum", 130},
    {"status-total", "Total : ", "Total sum", 150},
    {"status-paid", "Income : ", "Income sum", 150},
};

// A pane asks for its own width, or more when its sum needs it; when the bar runs short it gives
// way before the note beside it, down to a few characters of its sum.
class SumPane final : public QWidget {
 public:
  SumPane(int width, QWidget* parent) : QWidget(parent), width_(width) {}
  QSize sizeHint() const override {
    const QSize natural = QWidget::sizeHint();
    return QSize(qMax(width_, natural.width()), natural.height());
  }

 private:
  int width_;
};

}  // namespace

StatusPanes::StatusPanes(QStatusBar& bar) : QObject(&bar) {
  for (int i = 0; i < 4; ++i) {
    auto* pane = new SumPane(kPanes[i].width, &bar);
    auto* layout = new QHBoxLayout(pane);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);
    auto* icon = new QLabel(pane);
    icon->setPixmap(SvgIcon(QString::fromLatin1(kPanes[i].icon)).pixmap(16, 16));
    icon->setFixedSize(16, 16);
    texts_[i] = new ElidedLabel(QString::fromLatin1(kPanes[i].initialText), pane);
    texts_[i]->setAccessibleName(QString::fromLatin1(kPanes[i].accessibleName));
    layout->addWidget(icon);
    layout->addWidget(texts_[i], 1);
    bar.addPermanentWidget(pane);
    incomePane_ = pane;
  }
  incomePane_->hide();
}

void StatusPanes::SetTexts(const QString& paid, const QString& unpaid, const QString& total,
                           const QString& income) {
  const QString texts[4] = {paid, unpaid, total, income};
  incomePane_->setVisible(!income.isEmpty());
  for (int i = 0; i < 4; ++i) {
    texts_[i]->setText(texts[i]);
    texts_[i]->setToolTip(texts[i]);  // whole, also when the pane shows it cut
  }
}

QString StatusPanes::Text(int pane) const {
  return texts_[pane]->text();
}

QString StatusPanes::ShownText(int pane) const {
  return texts_[pane]->ShownText();
}

}  // namespace paylark
