#pragma once

#include <QLineEdit>
#include <optional>

#include "core/records/due_search.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace paylark {

// The toolbar's search field. Typing lists the matching dues of every month below it (due date,
// title, pay-to, amount) as `find` matches them; Enter or a double-click on a result asks to go
// to that due. The dues are read once and again only after Invalidate.
class SearchBox final : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr int kMostResults = 500;

  explicit SearchBox(const RecordStore& store, QWidget* parent = nullptr);
  ~SearchBox() override;

  // The records changed: the next query reads them again, and open results are refreshed.
  void Invalidate();
  QTreeWidget& results() { return *results_; }

 signals:
  void DueChosen(const QString& recordId);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowResults();
  void PlaceResults();
  void Choose(const QTreeWidgetItem* item);

  const RecordStore& store_;
  std::optional<DueSearch> search_;
  QTreeWidget* results_;
};

}  // namespace paylark
