#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/status.h"

namespace paylark {

// One <response> of a WebDAV multistatus (RFC 4918), with the properties a CalDAV client asks
// for. A property the server reported as missing (its propstat not 200) is left empty.
struct DavResponse {
  std::string href;  // as the server wrote it
  int status = 200;  // the response's own status (404 for a removed member), else 200
  std::string etag;
  bool isCalendar = false;  // resourcetype holds a CalDAV calendar
  std::string displayName;
  std::string principal;              // current-user-principal's href
  std::string calendarHome;           // calendar-home-set's href
  bool offersSyncCollection = false;  // supported-report-set names sync-collection
  std::string calendarData;           // an event's iCalendar text
};

struct Multistatus {
  std::vector<DavResponse> responses;
  std::string syncToken;  // a sync-collection answer's new token
};

// Reads a multistatus body. No DTD and no entities are read; a body that is not a multistatus
// is Corrupt.
Result<Multistatus> ParseMultistatus(std::string_view xml);

// The number of an HTTP status line such as "HTTP/1.1 404 Not Found", or 0.
int StatusLineCode(std::string_view line);

}  // namespace paylark
