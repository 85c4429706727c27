#pragma once

#include <QDockWidget>

#include "core/records/due_record.h"

class QTableWidget;

namespace paylark {

// The "Details" bar: the selected due's fields as eight rows of bold headings and plain values.
// The headings never change; clearing empties the values.
class DetailsBar final : public QDockWidget {
  Q_OBJECT

 public:
  static constexpr int kRows = 8;
  static constexpr int kWidth = 300;
  static constexpr int kNarrowestWidth = 150;

  explicit DetailsBar(QWidget* parent = nullptr);
  void FillDetails(DueRecord record);
  void ClearDetails();
  QString Heading(int row) const;
  QString Value(int row) const;

 private:
  QTableWidget* list_;
};

}  // namespace paylark
