#include "ui/editor/contract_fields.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>

#include "core/records/notice_period.h"
#include "ui/widgets/filtered_line_edit.h"

namespace paylark {
namespace {

constexpr int kMostCount = 9999;

}  // namespace

ContractFields::ContractFields(QWidget* parent)
    : QGroupBox(QStringLiteral("Contract: cancel before it renews"), parent),
      renewsOn_(new QDateEdit),
      count_(new FilteredLineEdit(FilteredLineEdit::Filter::kNumber)),
      unit_(new QComboBox) {
  setObjectName(QStringLiteral("contract"));
  setCheckable(true);
  setChecked(false);
  renewsOn_->setObjectName(QStringLiteral("renewsOn"));
  renewsOn_->setTimeSpec(Qt::UTC);
  renewsOn_->setCalendarPopup(true);
  renewsOn_->setDisplayFormat(QStringLiteral("dd MMM yyyy"));
  renewsOn_->setMinimumDate(QDate(OleDateTime::kMinYear, 1, 1));
  renewsOn_->setToolTip(QStringLiteral("The day the contract renews, or ends unless renewed"));
  count_->setObjectName(QStringLiteral("noticeCount"));
  count_->setFixedWidth(50);
  unit_->setObjectName(QStringLiteral("noticeUnit"));
  for (const NoticeUnit unit : {NoticeUnit::kDays, NoticeUnit::kWeeks, NoticeUnit::kMonths}) {
    const std::string_view name = NoticeUnitName(unit);
    unit_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                   static_cast<int>(unit));
  }
  unit_->setCurrentIndex(unit_->findData(static_cast<int>(NoticeUnit::kMonths)));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Renews or ends on")), 0, 0);
  grid->addWidget(renewsOn_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Notice period")), 1, 0);
  grid->addWidget(count_, 1, 1);
  grid->addWidget(unit_, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("before")), 1, 3);
  grid->setColumnStretch(4, 1);
}

void ContractFields::Load(const DueRecord& record) {
  setChecked(record.renewsOn.has_value());
  const CivilDateTime renews = record.renewsOn.value_or(record.dueDate).ToCivil();
  renewsOn_->setDate(QDate(renews.year, renews.month, renews.day));
  count_->setText(record.noticePeriod.IsSet() ? QString::number(record.noticePeriod.count)
                                              : QString());
  if (record.noticePeriod.IsSet())
    unit_->setCurrentIndex(unit_->findData(static_cast<int>(record.noticePeriod.unit)));
}

bool ContractFields::Check(QString& problem) const {
  if (!isChecked() || count_->text().trimmed().isEmpty())
    return true;
  bool whole = false;
  const int count = count_->text().trimmed().toInt(&whole);
  if (whole && count >= 1 && count <= kMostCount)
    return true;
  problem = QStringLiteral("Please enter a notice period from 1 to %1.").arg(kMostCount);
  count_->setFocus();
  count_->selectAll();
  return false;
}

void ContractFields::Store(DueRecord& record) const {
  if (!isChecked()) {
    record.renewsOn.reset();
    record.noticePeriod = {};
    return;
  }
  const QDate date = renewsOn_->date();
  record.renewsOn = OleDateTime::FromCivil(date.year(), date.month(), date.day());
  const QString count = count_->text().trimmed();
  record.noticePeriod =
      count.isEmpty()
          ? NoticePeriod{}
          : NoticePeriod{static_cast<NoticeUnit>(unit_->currentData().toInt()), count.toInt()};
}

}  // namespace paylark
