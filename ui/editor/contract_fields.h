#pragma once

#include <QGroupBox>

#include "core/records/due_record.h"

class QComboBox;
class QDateEdit;

namespace paylark {

class FilteredLineEdit;

// "Contract" on the due editor, for a series: the day its contract renews or ends and the notice
// it needs (a count of days, weeks or months before). Unticked, the series has no contract; a
// blank count means no notice.
class ContractFields final : public QGroupBox {
  Q_OBJECT

 public:
  explicit ContractFields(QWidget* parent = nullptr);

  void Load(const DueRecord& record);
  // False, with the count field focused, when the count is not a whole number from 1 to 9999;
  // `problem` then says so.
  bool Check(QString& problem) const;
  // Writes the renewal and notice into the record; Check must have passed.
  void Store(DueRecord& record) const;

 private:
  QDateEdit* renewsOn_;
  FilteredLineEdit* count_;
  QComboBox* unit_;
};

}  // namespace paylark
