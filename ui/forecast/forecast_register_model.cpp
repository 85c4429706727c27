#include "ui/forecast/forecast_register_model.h"

#include <QColor>
#include <QFont>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "ui/forecast/forecast_text.h"

namespace paylark {
namespace {

const QColor kBelowColour(200, 0, 0);
const QColor kIncomeColour(0, 128, 0);
const QColor kNotCountedColour(128, 128, 128);

QString AmountText(const ForecastItem& item) {
  return (item.estimated ? QStringLiteral("\u2248") : QString()) +
         (item.amount > 0 ? QStringLiteral("+") : QString()) + MoneyText(item.amount);
}

}  // namespace

ForecastRegisterModel::ForecastRegisterModel(QObject* parent) : QAbstractTableModel(parent) {}

void ForecastRegisterModel::Show(const Forecast& forecast, Cents warnBelow) {
  beginResetModel();
  forecast_ = &forecast;
  warnBelow_ = warnBelow;
  endResetModel();
}

void ForecastRegisterModel::Clear() {
  beginResetModel();
  forecast_ = nullptr;
  endResetModel();
}

int ForecastRegisterModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !forecast_)
    return 0;
  return static_cast<int>(forecast_->paidSinceEntry.size() + 1 +
                          forecast_->uncountedIncomes.size() + forecast_->items.size());
}

int ForecastRegisterModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

ForecastRegisterModel::Place ForecastRegisterModel::PlaceOf(int row) const {
  auto index = static_cast<std::size_t>(row);
  if (index < forecast_->paidSinceEntry.size())
    return {Part::kPaidSinceEntry, &forecast_->paidSinceEntry[index]};
  index -= forecast_->paidSinceEntry.size();
  if (index == 0)
    return {Part::kToday, nullptr};
  index -= 1;
  if (index < forecast_->uncountedIncomes.size())
    return {Part::kUncounted, &forecast_->uncountedIncomes[index]};
  return {Part::kComing, &forecast_->items[index - forecast_->uncountedIncomes.size()]};
}

QString ForecastRegisterModel::Text(const Place& place, int column) const {
  if (place.part == Part::kToday) {
    switch (column) {
      case kDate:
        return DayText(forecast_->days.front().date);
      case kDue:
        return QStringLiteral("Today");
      case kBalance:
        return MoneyText(forecast_->balanceToday);
      default:
        return {};
    }
  }
  const ForecastItem& item = *place.item;
  QString title = QString::fromUtf8(item.title);
  switch (column) {
    case kDate:
      return DayText(item.date);
    case kDue:
      if (place.part == Part::kUncounted)
        return QStringLiteral("%1 (overdue, not counted)").arg(title);
      if (place.part == Part::kPaidSinceEntry)
        return (item.income ? QStringLiteral("Received since the entry: %1")
                            : QStringLiteral("Paid since the entry: %1"))
            .arg(title);
      return title;
    case kAmount:
      return AmountText(item);
    default:
      return place.part == Part::kUncounted ? QString() : MoneyText(item.balanceAfter);
  }
}

QVariant ForecastRegisterModel::Colour(const Place& place, int column) const {
  if (place.part == Part::kToday)
    return forecast_->balanceToday < warnBelow_ ? QVariant(kBelowColour) : QVariant();
  const ForecastItem& item = *place.item;
  if (place.part == Part::kUncounted)
    return kNotCountedColour;
  if (item.balanceAfter < warnBelow_)
    return kBelowColour;
  return item.income && column == kAmount ? QVariant(kIncomeColour) : QVariant();
}

QVariant ForecastRegisterModel::data(const QModelIndex& index, int role) const {
  if (!forecast_ || !index.isValid() || index.row() >= rowCount())
    return {};
  const Place place = PlaceOf(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return Text(place, index.column());
    case Qt::TextAlignmentRole:
      return index.column() >= kAmount ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ForegroundRole:
      return Colour(place, index.column());
    case Qt::FontRole:
      if (place.part == Part::kToday) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    default:
      return {};
  }
}

QStringList ForecastRegisterModel::WidestTexts(int column) const {
  if (!forecast_)
    return {};
  switch (column) {
    case kDate:
      return DayTexts();
    case kAmount:
      return AmountExtremes();
    case kBalance:
      return BalanceExtremes();
    default:
      return {};
  }
}

template <class Visit>
void ForecastRegisterModel::ForEachItem(Visit visit) const {
  for (const ForecastItem& item : forecast_->paidSinceEntry)
    visit(Part::kPaidSinceEntry, item);
  for (const ForecastItem& item : forecast_->uncountedIncomes)
    visit(Part::kUncounted, item);
  for (const ForecastItem& item : forecast_->items)
    visit(Part::kComing, item);
}

// A handful of days at most a few hundred apart, however many rows fall on them.
QStringList ForecastRegisterModel::DayTexts() const {
  std::map<double, OleDateTime> days;
  days.emplace(std::floor(forecast_->days.front().date.value()), forecast_->days.front().date);
  ForEachItem([&days](Part, const ForecastItem& item) {
    days.emplace(std::floor(item.date.value()), item.date);
  });
  QStringList texts;
  for (const auto& day : days)
    texts.append(DayText(day.second));
  return texts;
}

// Digits are of one width, so the largest amount of a kind is its widest text.
QStringList ForecastRegisterModel::AmountExtremes() const {
  std::map<std::pair<bool, bool>, const ForecastItem*> largest;  // by (estimated, positive)
  ForEachItem([&largest](Part, const ForecastItem& item) {
    const ForecastItem*& kept = largest[{item.estimated, item.amount > 0}];
    if (!kept || std::abs(item.amount) > std::abs(kept->amount))
      kept = &item;
  });
  QStringList texts;
  for (const auto& kind : largest)
    texts.append(AmountText(*kind.second));
  return texts;
}

QStringList ForecastRegisterModel::BalanceExtremes() const {
  Cents highest = forecast_->balanceToday;
  Cents lowest = forecast_->balanceToday;
  ForEachItem([&highest, &lowest](Part part, const ForecastItem& item) {
    if (part == Part::kUncounted)
      return;
    highest = std::max(highest, item.balanceAfter);
    lowest = std::min(lowest, item.balanceAfter);
  });
  return {MoneyText(highest), MoneyText(lowest)};
}

QVariant ForecastRegisterModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  switch (section) {
    case kDate:
      return QStringLiteral("Date");
    case kDue:
      return QStringLiteral("Due");
    case kAmount:
      return QStringLiteral("Amount");
    case kBalance:
      return QStringLiteral("Balance");
    default:
      return {};
  }
}

}  // namespace paylark
