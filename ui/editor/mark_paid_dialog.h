#pragma once

#include <QDialog>

#include "core/records/due_record.h"
#include "core/records/payment.h"

class QCheckBox;
class QLineEdit;

namespace paylark {

class DatePicker;
class FilteredLineEdit;
class Prompt;

// Mark Paid: when the due was paid (now, at first), how much (the due's amount as the locale
// writes it, "2,400.00" or "1.234,56") and the bank reference (empty). OK refuses an amount that
// is not one, with the editor's own message; Cancel changes nothing. For a due already paid it
// shows the payment as it stands (date, amount, reference, who paid) and OK reads "Replace
// Payment": a statement's reference is never replaced unseen. For an unpaid due "Pay in part"
// records the amount as one part of it; a partly paid due opens with that checked, what was paid
// said, and what is left as the amount.
class MarkPaidDialog final : public QDialog {
  Q_OBJECT

 public:
  MarkPaidDialog(const DueRecord& due, const OleDateTime& now, Prompt& prompt,
                 QWidget* parent = nullptr);

  // What the user entered; meaningful after OK.
  const Payment& payment() const { return payment_; }
  // Whether the payment is a part of the due rather than the whole of it.
  bool inPart() const;

  void accept() override;

 private:
  Prompt& prompt_;
  DatePicker* paidOn_;
  FilteredLineEdit* amount_;
  QLineEdit* reference_;
  QCheckBox* inPart_ = nullptr;  // absent for a paid due
  Payment payment_;
};

}  // namespace paylark
