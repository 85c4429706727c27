#pragma once

#include <QString>
#include <QWidget>

class QStatusBar;

namespace paylark {

class ElidedLabel;

// The sum panes of the status bar (Paid, Unpaid, Total, and Income in a month with incomes): a
// 16-pixel icon beside the summary text, 130, 130 and 150 pixels wide. A large sum widens its pane
// while there is room; a bar too narrow cuts the sums ("…"), never the note left of them.
class StatusPanes final : public QObject {
  Q_OBJECT

 public:
  explicit StatusPanes(QStatusBar& bar);
  // An empty income text hides the Income pane.
  void SetTexts(const QString& paid, const QString& unpaid, const QString& total,
                const QString& income = {});
  QString Text(int pane) const;
  // The sum as the pane shows it, cut when the pane is too narrow.
  QString ShownText(int pane) const;

 private:
  ElidedLabel* texts_[4];
  QWidget* incomePane_ = nullptr;
};

}  // namespace paylark
