#pragma once

#include <QUrl>
#include <map>
#include <string>

#include "core/base/status.h"
#include "core/exchange/caldav_multistatus.h"
#include "core/exchange/caldav_plan.h"
#include "remote/dav_http.h"

namespace paylark {

struct CalDavCollection {
  QUrl url;  // ends in '/'
  bool offersSyncCollection = false;
  bool exists = true;  // false: found missing on a discovery asked not to make it
};

enum class MissingCalendar { kMake, kLeave };

// The server's events of a collection by resource name, with their ETags.
struct CalDavListing {
  std::map<std::string, std::string> events;
  std::string syncToken;  // empty when the server offers no sync-collection
};

// What became of one write or removal.
struct CalDavOutcome {
  Status status;
  std::string etag;    // the server's new ETag after a write, when it gave one
  int httpStatus = 0;  // the server's answer
};

// A CalDAV client (RFC 4791) over DavHttp. A failure's message says what the user can do:
// the server could not be reached, refused the user, or answered what no CalDAV server does.
class CalDavClient final {
 public:
  explicit CalDavClient(DavHttp& http) : http_(http) {}

  // The collection itself when url names one; else the principal's calendar home is found from
  // url or its /.well-known/caldav, and its calendar named Paylark used (made when missing).
  Result<CalDavCollection> Discover(const QUrl& url, MissingCalendar missing);
  // Every event when syncToken is empty or stale, else what changed since it.
  Result<CalDavListing> List(const CalDavCollection& collection, CalDavListing known);
  // The named events' ETags and what they hold (as EventFingerprint), asked for in batches.
  Result<std::map<std::string, KnownEvent>> Fetch(const CalDavCollection& collection,
                                                  const std::vector<std::string>& names);
  CalDavOutcome Apply(const CalDavCollection& collection, const CalDavAction& action);

 private:
  Result<Multistatus> Propfind(const QUrl& url, int depth, const QByteArray& properties);
  Result<QUrl> PrincipalFromWellKnown(const QUrl& url);
  Result<CalDavCollection> PaylarkCalendarIn(const QUrl& home, MissingCalendar missing);
  Result<CalDavListing> SyncCollection(const CalDavCollection& collection, CalDavListing known);
  Result<CalDavListing> CalendarQuery(const CalDavCollection& collection);
  CalDavOutcome Write(const QUrl& url, const CalDavAction& action, const std::string& etag);
  CalDavOutcome Remove(const QUrl& url, const std::string& etag);
  // The resource's current ETag, or an empty one when it is gone.
  Result<std::string> CurrentEtag(const QUrl& url);
  Status Refusal(const QUrl& url, const HttpAnswer& answer, const char* what) const;

  DavHttp& http_;
};

}  // namespace paylark
