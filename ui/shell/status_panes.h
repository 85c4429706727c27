#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QStatusBar;

namespace paylark {

// The three sum panes of the status bar (Paid, Unpaid, Total): a 16-pixel icon beside the
// summary text, 130, 130 and 150 pixels wide.
class StatusPanes final : public QObject {
  Q_OBJECT

 public:
  explicit StatusPanes(QStatusBar& bar);
  void SetTexts(const QString& paid, const QString& unpaid, const QString& total);
  QString Text(int pane) const;

 private:
  QLabel* texts_[3];
};

}  // namespace paylark
