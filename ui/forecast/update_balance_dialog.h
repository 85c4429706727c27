#pragma once

#include <QDialog>

#include "core/base/ole_date_time.h"

class QLineEdit;

namespace paylark {

class DatePicker;
class Prompt;

// Update Balance…: what an account held at a moment (now, at first). OK refuses a text that is
// not an amount with the editor's own message and stays open with the text as typed; a minus
// sign is an overdrawn account. Cancel changes nothing.
class UpdateBalanceDialog final : public QDialog {
  Q_OBJECT

 public:
  UpdateBalanceDialog(const QString& account, const OleDateTime& now, Prompt& prompt,
                      QWidget* parent = nullptr);

  // What the user entered; meaningful after OK.
  double amount() const { return amount_; }
  OleDateTime on() const;

  void accept() override;

 private:
  Prompt& prompt_;
  DatePicker* on_;
  QLineEdit* text_;
  double amount_ = 0;
};

}  // namespace paylark
