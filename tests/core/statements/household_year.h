#pragma once

#include <string>
#include <vector>

#include "core/statements/statement.h"
#include "tests/core/statements/statement_test_dues.h"

namespace paylark::testing {

// Thirteen months of a household's current account, 1 Nov 2025 to 30 Nov 2026: rent on the 1st
// (booked the Monday after when the 1st is a weekend), a phone bill of 38 to 43, two streaming
// plans from one payee, a yearly insurance (seen twice), a salary every other Friday, groceries
// three times a week, one sofa, and a gym given up after June.
inline Statement HouseholdYear(const std::string& account = "Checking") {
  Statement statement;
  statement.account = account;
  statement.bankAccount = "GB29NWBK60161331926819";
  statement.periodStart = Day(2025, 11, 1);
  statement.periodEnd = Day(2026, 11, 30);
  std::vector<StatementTransaction>& out = statement.transactions;
  const auto add = [&](const std::string& id, OleDateTime booked, Cents amount,
                       const std::string& counterparty, const std::string& memo = "") {
    out.push_back(Transaction(id, booked, amount, counterparty, memo));
  };
  // Rent: the 1st, or the Monday after.
  const int rentDays[13] = {3, 1, 1, 2, 2, 1, 1, 1, 1, 3, 1, 1, 2};
  const Cents phone[13] = {4012, 3890, 4255, 3800, 4120, 4300, 3955,
                           4180, 3870, 4230, 4050, 3925, 4090};
  for (int i = 0; i < 13; ++i) {
    const int year = i < 2 ? 2025 : 2026;
    const int month = (10 + i) % 12 + 1;
    const std::string tag = std::to_string(year) + "-" + std::to_string(month);
    StatementTransaction rent = Transaction("RENT-" + tag, Day(year, month, rentDays[i]), -95000,
                                            "Harbour Lettings Ltd", "Rent " + tag + " ref 4471");
    rent.counterpartyAccount = "GB33 BUKB 2020 1555 5555 55";
    out.push_back(rent);
    add("PHONE-" + tag, Day(year, month, 20), -phone[i], "Telco Mobile", "Invoice " + tag);
    add("FLIX-A-" + tag, Day(year, month, 5), -999, "STREAMFLIX*" + std::to_string(1000 + i));
    add("FLIX-B-" + tag, Day(year, month, 12), -1599, "STREAMFLIX*" + std::to_string(2000 + i));
    if (i < 8)
      add("GYM-" + tag, Day(year, month, 3), -2990, "FitLife Gym");
  }
  add("INS-2025", Day(2025, 11, 17), -48000, "Hearth Insurance", "Policy 2025/26");
  add("INS-2026", Day(2026, 11, 16), -48000, "Hearth Insurance", "Policy 2026/27");
  // Salary: every other Friday from 7 Nov 2025.
  for (int week = 0; week < 56; week += 2) {
    const OleDateTime payday = *Day(2025, 11, 7).AddDays(std::int64_t{7} * week);
    add("PAY-" + std::to_string(week), payday, 240000, "Acme Corp Payroll");
  }
  // Groceries: Monday, Wednesday and Saturday, amounts from 24 to 79.
  for (int day = 0; day < 395; ++day) {
    const OleDateTime date = *Day(2025, 11, 1).AddDays(day);
    const int weekday = date.DayOfWeek();
    if (weekday == 2 || weekday == 4 || weekday == 7)
      add("SHOP-" + std::to_string(day), date, -(2400 + (day * 7919) % 5500), "Green Grocer");
  }
  add("SOFA", Day(2026, 4, 18), -129900, "Sofa World");
  return statement;
}

}  // namespace paylark::testing
