#pragma once

#include <QDockWidget>

#include <optional>
#include <string>
#include <vector>

#include "core/records/due_details.h"
#include "core/records/due_record.h"
#include "core/records/series_index.h"

class QTableWidget;

namespace paylark {

// The "Details" bar: the selected due's fields as eight rows of bold headings and plain values,
// a ninth, "Series", with "3 of 12" for a series member (and the change of the amount from the
// member before: "3 of 12 · +5.1%"), then a paid due's payment rows ("Paid on", "Paid amount"
// when it differs, "Reference"). The nine headings never change; clearing empties the values
// and drops the payment rows.
class DetailsBar final : public QDockWidget {
  Q_OBJECT

 public:
  static constexpr int kRows = 9;
  static constexpr int kWidth = 300;
  static constexpr int kNarrowestWidth = 150;

  explicit DetailsBar(QWidget* parent = nullptr);
  // The payment rows follow, then, given today, the contract's renewal and cancel-by date.
  void FillDetails(const DueRecord& record, std::optional<SeriesPosition> position = std::nullopt,
                   const std::string& seriesChange = {},
                   std::optional<OleDateTime> today = std::nullopt);
  void ClearDetails();
  int RowCount() const;
  QString Heading(int row) const;
  QString Value(int row) const;
  // The narrowest the window makes the bar by itself: the headings and a whole date and time.
  int ReadableWidth() const;

 protected:
  // A bar narrower than its first width gives its headings no more than they need.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FillPayment(const std::vector<DetailRow>& rows);

  QTableWidget* list_;
};

}  // namespace paylark
