#include "ui/forecast/update_balance_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <variant>

#include "core/base/locale_amount.h"
#include "core/forecast/balance_amount.h"
#include "ui/base/prompt.h"
#include "ui/widgets/date_picker.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/ok_cancel_buttons.h"

namespace paylark {
namespace {

// Room for the title bar's "Update Balance" and a long account name beside the fields.
constexpr int kMinimumWidth = 360;

}  // namespace

UpdateBalanceDialog::UpdateBalanceDialog(const QString& account, const OleDateTime& now,
                                         Prompt& prompt, QWidget* parent)
    : QDialog(parent), prompt_(prompt), on_(new DatePicker(this)), text_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Update Balance"));
  setObjectName(QStringLiteral("updateBalanceDialog"));
  UseFaceBackground(*this);
  on_->setObjectName(QStringLiteral("balanceOn"));
  on_->SetValue(now);
  text_->setObjectName(QStringLiteral("balanceAmount"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Account:"), new QLabel(account, this));
  form->addRow(QStringLiteral("&Balance on:"), on_);
  form->addRow(QStringLiteral("&Amount:"), text_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(*this));
  setMinimumWidth(kMinimumWidth);
  text_->setFocus(Qt::OtherFocusReason);
}

OleDateTime UpdateBalanceDialog::on() const {
  return on_->Value();
}

void UpdateBalanceDialog::accept() {
  const AmountMarks marks = LocaleAmountMarks();
  const std::variant<double, Message> parsed = ParseBalanceAmount(
      text_->text().toStdString(),
      [&marks](std::string_view typed) { return ParseLocaleAmount(typed, marks); });
  if (const Message* refusal = std::get_if<Message>(&parsed)) {
    prompt_.Tell(this, QString::fromStdString(MessageText(*refusal)));
    text_->setFocus();
    text_->selectAll();
    return;
  }
  amount_ = std::get<double>(parsed);
  QDialog::accept();
}

}  // namespace paylark
