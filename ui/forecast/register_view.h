#pragma once

#include <QTableView>

namespace paylark {

// The forecast's register: a column is as wide as the widest of its texts over every row, which
// the register's model names, while only the rows on screen are laid out to find it. A register of
// tens of thousands of rows then opens at once with no amount cut short further down.
class RegisterView final : public QTableView {
  Q_OBJECT

 public:
  explicit RegisterView(QWidget* parent = nullptr);

 protected:
  int sizeHintForColumn(int column) const override;
};

}  // namespace paylark
