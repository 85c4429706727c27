#pragma once

#include <string>
#include <utility>

#include "core/base/clock.h"
#include "core/records/due_record.h"
#include "core/records/record_store.h"
#include "core/statements/statement.h"
#include "tests/support/memory_file_system.h"

namespace paylark::testing {

inline OleDateTime Day(int year, int month, int day) {
  return *OleDateTime::FromCivil(year, month, day);
}

inline StatementTransaction Transaction(std::string id, OleDateTime booked, Cents amount,
                                        std::string counterparty = "", std::string memo = "") {
  StatementTransaction transaction;
  transaction.id = std::move(id);
  transaction.bookingDate = booked;
  transaction.amount = amount;
  transaction.counterparty = std::move(counterparty);
  transaction.memo = std::move(memo);
  return transaction;
}

// A store in memory holding the dues a test adds.
class StatementDues {
 public:
  StatementDues() { (void)store_.Reload(); }

  // Adds an unpaid due and returns its record ID.
  std::string Add(const std::string& title, OleDateTime due, double amount,
                  const std::string& account = "", std::int32_t type = kTypeBusiness,
                  const std::string& payTo = "") {
    DueRecord record = DueRecord::WithDefaults(clock_);
    record.title = title;
    record.payTo = payTo.empty() ? title : payTo;
    record.account = account;
    record.dueDate = due;
    record.amount = amount;
    record.type = type;
    const AddResult added = store_.Add(record);
    clock_.AdvanceSeconds(1);
    return added.recordId;
  }

  FixedClock& clock() { return clock_; }
  MemoryFileSystem& files() { return files_; }
  RecordStore& store() { return store_; }
  const DueMap& map() const { return store_.map(); }

 private:
  FixedClock clock_{*OleDateTime::FromCivil(2026, 12, 6, 12, 0, 0)};
  MemoryFileSystem files_;
  RecordStore store_{clock_, "/home/user", files_};
};

}  // namespace paylark::testing
