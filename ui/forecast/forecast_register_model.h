#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "core/forecast/forecast.h"

namespace paylark {

// The forecast window's register: the payments since the balance entry, today's balance, the
// incomes that are late and not counted, then what is coming, with the running balance (rows
// below the warning level in red). A row's texts are made when the view asks for them, so a
// register of tens of thousands of dues opens at once.
class ForecastRegisterModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kDate = 0, kDue, kAmount, kBalance, kColumnCount };

  explicit ForecastRegisterModel(QObject* parent = nullptr);

  // Shows the forecast's rows; the forecast stays the caller's and must live until the next Show.
  void Show(const Forecast& forecast, Cents warnBelow);
  // No rows: for when the forecast shown goes away.
  void Clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The texts among which the column's widest is, over every row, found from the numbers rather
  // than by making every row's text: each day's date, the largest amount of each sign (estimated
  // or not), the highest and the lowest balance. Empty for the due's column.
  QStringList WidestTexts(int column) const;

 private:
  // Where a row comes from: a part of the forecast and the item's place in it.
  enum class Part { kPaidSinceEntry, kToday, kUncounted, kComing };
  struct Place {
    Part part;
    const ForecastItem* item;  // none for today's row
  };
  Place PlaceOf(int row) const;
  QString Text(const Place& place, int column) const;
  QVariant Colour(const Place& place, int column) const;
  QStringList DayTexts() const;
  QStringList AmountExtremes() const;
  QStringList BalanceExtremes() const;
  // Calls visit(part, item) for every row but today's.
  template <class Visit>
  void ForEachItem(Visit visit) const;

  const Forecast* forecast_ = nullptr;
  Cents warnBelow_ = 0;
};

}  // namespace paylark
