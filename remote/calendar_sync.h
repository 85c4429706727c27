#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include "core/exchange/caldav_plan.h"

namespace paylark {

enum class SyncMode { kSend, kDryRun };

struct CalendarSyncRequest {
  QString url;  // a collection, or a server to find the user's calendars on
  QString user;
  QString password;
  SyncMode mode = SyncMode::kSend;
  std::chrono::milliseconds timeout{20000};
  QString stateFolder;  // where what is known of the collection is remembered between syncs
  // Set by the caller to end the sync before its next request; null when it is never stopped.
  std::shared_ptr<const std::atomic<bool>> stop;
};

struct CalendarSyncReport {
  QString failure;  // set when the server could not be reached or refused: nothing changed
  QString collection;
  int put = 0;
  int deleted = 0;
  int unchanged = 0;
  QStringList errors;  // events the server would not take; the rest went through

  bool succeeded() const { return failure.isEmpty() && errors.isEmpty(); }
};

// Makes the collection hold exactly the wanted events (see PlanCalDavSync), one request at a
// time, and remembers what it wrote. A dry run reads the server and reports what it would send,
// sending nothing that changes it (not even the making of a missing calendar). Runs on any thread;
// needs no running event loop.
CalendarSyncReport SyncCalendar(const std::vector<CalDavEvent>& wanted,
                                const CalendarSyncRequest& request);

}  // namespace paylark
