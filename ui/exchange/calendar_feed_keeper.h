#pragma once

#include <QString>

namespace paylark {

class PaylarkApp;

// The live calendar feed: when the user asked for it (setting Calendar/KeepFeed), the dues from
// 90 days back to two years ahead are written to <working directory>/Exports/Paylark.ics,
// atomically, so a sync engine or a calendar never sees half a file.
class CalendarFeedKeeper final {
 public:
  explicit CalendarFeedKeeper(PaylarkApp& app) : app_(app) {}

  static bool Enabled();
  static void SetEnabled(bool enabled);
  QString FeedPath() const;

  // Rewrites the feed when it is kept. Empty when all went well (or the feed is not kept), else
  // why the file could not be written.
  QString Update() const;

 private:
  PaylarkApp& app_;
};

}  // namespace paylark
