#pragma once

#include <QDockWidget>

#include <optional>

#include "core/records/due_record.h"
#include "core/records/series_index.h"

class QTableWidget;

namespace paylark {

// The "Details" bar: the selected due's fields as eight rows of bold headings and plain values,
// and a ninth, "Series", with "3 of 12" for a series member. The headings never change;
// clearing empties the values.
class DetailsBar final : public QDockWidget {
  Q_OBJECT

 public:
  static constexpr int kRows = 9;
  static constexpr int kWidth = 300;
  static constexpr int kNarrowestWidth = 150;

  explicit DetailsBar(QWidget* parent = nullptr);
  void FillDetails(DueRecord record, std::optional<SeriesPosition> position = std::nullopt);
  void ClearDetails();
  QString Heading(int row) const;
  QString Value(int row) const;

 private:
  QTableWidget* list_;
};

}  // namespace paylark
