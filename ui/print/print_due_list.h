#pragma once

#include <QTreeView>

namespace paylark {

class PrintListModel;

// The print dialog's checkable list of dues, one column per field under a header. Every click in
// it is reported, on the row or not, so the dialog can put its Records box back on "All".
class PrintDueList final : public QTreeView {
  Q_OBJECT

 public:
  explicit PrintDueList(PrintListModel& model, QWidget* parent = nullptr);

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace paylark
