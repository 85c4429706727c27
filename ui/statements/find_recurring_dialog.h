#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/statements/recurring/series_suggestions.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace paylark {

// File → Find Recurring Bills…: the series the statements show, one checkable row each with its
// editable title and count, pay-to, pattern in words, amount (a range when it varies), times
// seen and next due date; above them how much bank history there was.
class FindRecurringDialog final : public QDialog {
  Q_OBJECT

 public:
  enum Column { kTitle, kPayTo, kPattern, kAmount, kSeen, kNext, kCount, kColumns };

  // A suggestion the user checked, with the title and count as the rows say.
  struct Choice {
    std::size_t suggestion = 0;
    std::string title;
    int count = 0;
  };

  explicit FindRecurringDialog(const SeriesSuggestions& found, QWidget* parent = nullptr);

  std::vector<Choice> Chosen() const;
  QTableWidget& table() { return *table_; }
  QLabel& history() { return *history_; }
  QPushButton& createButton() { return *create_; }

 private:
  void FillRow(int row, const SeriesSuggestion& suggestion);
  void UpdateCreate();

  QLabel* history_;
  QTableWidget* table_;
  QPushButton* create_;
};

}  // namespace paylark
