#include "ui/editor/mark_paid_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <variant>

#include "core/base/format.h"
#include "core/base/locale_amount.h"
#include "core/base/messages.h"
#include "ui/base/prompt.h"
#include "ui/widgets/date_picker.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/filtered_line_edit.h"
#include "ui/widgets/ok_cancel_buttons.h"

namespace paylark {
namespace {

// A paid due's payment as it stands, so that replacing it is a choice made knowingly.
QString CurrentPaymentText(const DueRecord& due) {
  QString text = QStringLiteral("Already paid");
  if (due.paidOn)
    text +=
        QStringLiteral(" on %1").arg(QString::fromStdString(FormatDate(*due.paidOn, "d MMM yyyy")));
  text += QStringLiteral(": %1").arg(QString::fromStdString(FormatAmount(PaidOrDueAmount(due))));
  if (!due.paymentReference.empty())
    text += QStringLiteral(", reference %1").arg(QString::fromStdString(due.paymentReference));
  if (!due.paymentCounterparty.empty())
    text += QStringLiteral(" from %1").arg(QString::fromStdString(due.paymentCounterparty));
  return text + QStringLiteral(". Replace Payment puts what you enter here in its place.");
}

}  // namespace

MarkPaidDialog::MarkPaidDialog(const DueRecord& due, const OleDateTime& now, Prompt& prompt,
                               QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      paidOn_(new DatePicker(this)),
      amount_(new FilteredLineEdit(FilteredLineEdit::Filter::kAmount, this)),
      reference_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Mark Paid"));
  setObjectName(QStringLiteral("markPaid"));
  UseFaceBackground(*this);
  paidOn_->setObjectName(QStringLiteral("paidOn"));
  amount_->setObjectName(QStringLiteral("paidAmount"));
  reference_->setObjectName(QStringLiteral("reference"));
  reference_->setPlaceholderText(QStringLiteral("The bank transaction, if you like"));
  paidOn_->SetValue(now);
  const double amount = IsPartlyPaid(due) ? FromCents(LeftCents(due)) : due.amount;
  amount_->setText(QString::fromStdString(GroupedAmountText(amount, amount_->marks())));

  auto* title = new QLabel(QString::fromStdString(due.title), this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Paid &on:"), paidOn_);
  form->addRow(QStringLiteral("&Amount:"), amount_);
  form->addRow(QStringLiteral("&Reference:"), reference_);
  QDialogButtonBox* buttons = OkCancelButtons(*this);
  QLabel* current = nullptr;
  if (IsPaid(due)) {
    current = new QLabel(CurrentPaymentText(due), this);
    current->setObjectName(QStringLiteral("currentPayment"));
    current->setWordWrap(true);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Replace Payment"));
  } else {
    inPart_ = new QCheckBox(QStringLiteral("Pay in &part: the due stays unpaid until its parts "
                                           "reach the amount"),
                            this);
    inPart_->setObjectName(QStringLiteral("inPart"));
    inPart_->setChecked(IsPartlyPaid(due));
    form->addRow(QString(), inPart_);
    if (IsPartlyPaid(due)) {
      current =
          new QLabel(QString::fromStdString(PartsPaidText(due)) +
                         QStringLiteral("; %1 left.")
                             .arg(QString::fromStdString(FormatAmount(FromCents(LeftCents(due))))),
                     this);
      current->setObjectName(QStringLiteral("currentPayment"));
    }
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  if (current)
    layout->addWidget(current);
  layout->addLayout(form);
  layout->addWidget(buttons);
  amount_->setFocus(Qt::OtherFocusReason);
  amount_->selectAll();
}

bool MarkPaidDialog::inPart() const {
  return inPart_ && inPart_->isChecked();
}

void MarkPaidDialog::accept() {
  const std::variant<double, Message> amount =
      ParseLocaleAmount(amount_->text().toStdString(), amount_->marks());
  if (const Message* refusal = std::get_if<Message>(&amount)) {
    prompt_.Tell(this, QString::fromStdString(MessageText(*refusal)));
    amount_->setFocus();
    amount_->selectAll();
    return;
  }
  payment_.on = paidOn_->Value();
  payment_.amount = std::get<double>(amount);
  payment_.reference = reference_->text().trimmed().toStdString();
  QDialog::accept();
}

}  // namespace paylark
