#include "ui/print/print_dialog.h"

#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "core/records/month_selection.h"
#include "ui/base/date_conversion.h"
#include "ui/base/paylark_app.h"
#include "ui/base/resources.h"
#include "ui/print/print_banner.h"
#include "ui/print/print_due_list.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/screen_room.h"
#include "ui/widgets/section_keys.h"
#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_combo_box.h"

namespace paylark {
namespace {

constexpr QSize kListHeaderSize(180, 24);
constexpr int kListHeight = 260;
constexpr int kListWidth = 560;
// The list narrows no further on a small screen; its title column gives way first.
constexpr int kNarrowestListWidth = 300;

QDateTimeEdit* MakeMonthPicker(const QDateTime& value, const QString& name, QWidget* parent) {
  auto* picker = new QDateTimeEdit(parent);
  picker->setTimeSpec(Qt::UTC);
  picker->setMinimumDateTime(QDateTime(QDate(100, 1, 1), QTime(0, 0), Qt::UTC));
  picker->setDisplayFormat(QStringLiteral("MMM, yyyy"));
  picker->setCalendarPopup(true);
  picker->setDateTime(value);
  picker->setAccessibleName(name);
  UseSectionKeys(*picker);
  return picker;
}

StyledButton* MakeButton(const QString& caption, QWidget* parent) {
  auto* button = new StyledButton(caption, parent);
  button->SetStyleBorder(3);
  button->ShowText(true);
  return button;
}

}  // namespace

PrintDialog::PrintDialog(PaylarkApp& app, PrintPlaces places)
    : QDialog(nullptr), app_(app), places_(std::move(places)) {
  setWindowTitle(QStringLiteral("Print"));
  setModal(true);
  UseFaceBackground(*this);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(12, 10, 12, 12);
  body->setSpacing(14);
  body->addWidget(MakeListColumn());
  auto* controls = new QVBoxLayout;
  controls->addWidget(MakeFilterGroup());
  controls->addStretch(1);
  controls->addLayout(MakeButtonRow());
  body->addLayout(controls);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(0);
  root->addWidget(new PrintBanner(this));
  root->addLayout(body);
  root->setSizeConstraint(QLayout::SetFixedSize);

  FitListToScreen();
  ConnectControls();
  Refill();
  model_.ApplyRecordsAction(RecordsAction::kAll);
}

QWidget* PrintDialog::MakeListColumn() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* header = new QLabel(column);
  header->setPixmap(SvgIcon(QStringLiteral("print-list-header")).pixmap(kListHeaderSize));
  header->setAccessibleName(QStringLiteral("Dues to Print"));
  list_ = new PrintDueList(model_, column);
  list_->setFixedSize(kListWidth, kListHeight);
  layout->addWidget(header);
  layout->addWidget(list_);
  return column;
}

QWidget* PrintDialog::MakeFilterGroup() {
  auto* group = new QGroupBox(QStringLiteral("Print What"), this);
  auto* form = new QFormLayout(group);
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setVerticalSpacing(8);
  const QDateTime now = ToQDateTime(app_.clock().Now());
  from_ = MakeMonthPicker(now, QStringLiteral("From"), group);
  to_ = MakeMonthPicker(now, QStringLiteral("To"), group);
  records_ = new StyledComboBox(group);
  for (const RecordsActionEntry& entry : kRecordsActionTable) {
    records_->addItem(QString::fromUtf8(entry.text.data(), static_cast<int>(entry.text.size())));
  }
  records_->setCurrentIndex(0);
  account_ = new StyledComboBox(group);
  hidden_ = new StyledComboBox(group);
  hidden_->hide();
  for (QWidget* box : {static_cast<QWidget*>(from_), static_cast<QWidget*>(to_),
                       static_cast<QWidget*>(records_), static_cast<QWidget*>(account_)}) {
    box->setMinimumWidth(150);
  }
  form->addRow(QStringLiteral("From"), from_);
  form->addRow(QStringLiteral("To"), to_);
  form->addRow(QStringLiteral("Records"), records_);
  form->addRow(QStringLiteral("Account"), account_);
  return group;
}

QLayout* PrintDialog::MakeButtonRow() {
  print_ = MakeButton(QStringLiteral("&Print"), this);
  cancel_ = MakeButton(QStringLiteral("Cancel"), this);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(print_);
  row->addWidget(cancel_);
  return row;
}

// The dialog keeps its fixed size; on a screen narrower than that, the list gives up the width.
void PrintDialog::FitListToScreen() {
  const int excess = sizeHint().width() - ContentRoom(parentWidget()).width();
  if (excess > 0)
    list_->setFixedWidth(std::max(kNarrowestListWidth, kListWidth - excess));
}

void PrintDialog::ConnectControls() {
  connect(from_, &QDateTimeEdit::dateTimeChanged, this, &PrintDialog::FromChanged);
  connect(to_, &QDateTimeEdit::dateTimeChanged, this, &PrintDialog::Refill);
  // activated, not currentIndexChanged: choosing the entry already shown acts again.
  connect(records_, &QComboBox::activated, this, &PrintDialog::RecordsChosen);
  connect(account_, &QComboBox::activated, this, &PrintDialog::AccountChosen);
  connect(list_, &PrintDueList::Clicked, this, [this] { records_->setCurrentIndex(0); });
  // The page is rendered on every activation by mouse or keyboard, and only then previewed, so
  // a message about the page never interrupts the click.
  connect(print_, &QPushButton::clicked, this, [this] {
    RenderAndLoad();
    Preview();
  });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintDialog::Refill() {
  const std::vector<DueRecord> records =
      RangeFill(app_.store(), ToOleDateTime(from_->dateTime()), ToOleDateTime(to_->dateTime()));
  model_.Fill(records);
  account_->clear();
  // Accounts in the order their dues were found, not in the list's date order.
  for (const std::string& entry : AccountEntries(MakePrintRows(records))) {
    account_->addItem(QString::fromStdString(entry));
  }
  account_->setCurrentIndex(-1);
}

void PrintDialog::FromChanged() {
  {
    // Raising the minimum may move To; one refill covers both changes.
    const QSignalBlocker block(to_);
    to_->setMinimumDateTime(from_->dateTime());
  }
  Refill();
}

void PrintDialog::RecordsChosen(int index) {
  if (index >= 0 && index < static_cast<int>(kRecordsActionTable.size()))
    model_.ApplyRecordsAction(kRecordsActionTable[static_cast<size_t>(index)].action);
}

void PrintDialog::AccountChosen(int index) {
  if (index >= 0)
    model_.CheckAccount(account_->itemText(index).toStdString());
}

void PrintDialog::RenderAndLoad() {
  const RenderedPage page =
      RenderPrintFile(places_, CheckedRecords(model_.rows()), ToOleDateTime(from_->dateTime()),
                      ToOleDateTime(to_->dateTime()));
  preview_.Load(page.html, places_.pageFolder);
  if (!page.problem.isEmpty())
    app_.prompt().Tell(this, page.problem, PromptIcon::kWarning);
}

void PrintDialog::Preview() {
  if (!model_.AnyChecked())
    return;
  app_.prompt().TellIfFailed(this,
                             app_.desktop().ShowPrintPreview(
                                 this, QStringLiteral("Print Preview"),
                                 [this](QPagedPaintDevice* printer) { preview_.Paint(printer); }));
}

}  // namespace paylark
