#include "remote/caldav_client.h"

namespace paylark {
namespace {

constexpr int kMultistatus = 207;
constexpr int kPreconditionFailed = 412;
constexpr int kNotFound = 404;
constexpr int kMostRedirects = 5;

const QByteArray kDiscoveryProperties =
    "<d:resourcetype/><d:displayname/><d:current-user-principal/><c:calendar-home-set/>"
    "<d:supported-report-set/>";

QByteArray PropfindBody(const QByteArray& properties) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\" "
         "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>" +
         properties + "</d:prop></d:propfind>";
}

QByteArray Escaped(const std::string& text) {
  return QString::fromStdString(text).toHtmlEscaped().toUtf8();
}

QUrl AsFolder(QUrl url) {
  if (!url.path().endsWith(QLatin1Char('/')))
    url.setPath(url.path() + QLatin1Char('/'));
  return url;
}

// The last segment of an href, decoded.
std::string NameOf(const std::string& href) {
  QString path = QUrl(QString::fromStdString(href)).path();
  return path.section(QLatin1Char('/'), -1).toStdString();
}

bool Succeeded(int status) {
  return status >= 200 && status < 300;
}

}  // namespace

Status CalDavClient::Refusal(const QUrl& url, const HttpAnswer& answer, const char* what) const {
  const QString where =
      url.host() + (url.port() > 0 ? QStringLiteral(":%1").arg(url.port()) : QString());
  if (answer.status == 0) {
    return Status::IoError(QStringLiteral("The calendar server %1 could not be reached: %2.")
                               .arg(where, answer.failure)
                               .toStdString());
  }
  if (answer.status == 401 || answer.status == 403) {
    return Status::InvalidArgument(
        QStringLiteral("The calendar server %1 refused the user \"%2\" (HTTP %3): check the "
                       "user name and the password.")
            .arg(where, http_.user())
            .arg(answer.status)
            .toStdString());
  }
  return Status::IoError(QStringLiteral("The calendar server %1 answered %2 with HTTP %3.")
                             .arg(where, QLatin1String(what))
                             .arg(answer.status)
                             .toStdString());
}

Result<Multistatus> CalDavClient::Propfind(const QUrl& url, int depth,
                                           const QByteArray& properties) {
  const HttpAnswer answer = http_.Send(
      "PROPFIND", url,
      {{"Depth", QByteArray::number(depth)}, {"Content-Type", "application/xml; charset=utf-8"}},
      PropfindBody(properties));
  if (answer.status != kMultistatus)
    return Refusal(url, answer, "a request for its folders");
  return ParseMultistatus(answer.body.toStdString());
}

Result<QUrl> CalDavClient::PrincipalFromWellKnown(const QUrl& url) {
  QUrl next = url.resolved(QUrl(QStringLiteral("/.well-known/caldav")));
  for (int redirect = 0; redirect <= kMostRedirects; ++redirect) {
    const HttpAnswer answer = http_.Send(
        "PROPFIND", next, {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
        PropfindBody("<d:current-user-principal/>"));
    if (answer.status >= 300 && answer.status < 400 && !answer.location.isEmpty()) {
      next = next.resolved(QUrl(QString::fromUtf8(answer.location)));
      continue;
    }
    if (answer.status != kMultistatus)
      return Refusal(next, answer, "the search for its calendars");
    PAYLARK_TRY_ASSIGN(const Multistatus found, ParseMultistatus(answer.body.toStdString()));
    for (const DavResponse& response : found.responses) {
      if (!response.principal.empty())
        return next.resolved(QUrl(QString::fromStdString(response.principal)));
    }
    break;
  }
  return Status::NotFound(
      QStringLiteral("%1 names no calendar and the server says where none is: give the "
                     "calendar's own address.")
          .arg(url.toDisplayString())
          .toStdString());
}

Result<CalDavCollection> CalDavClient::PaylarkCalendarIn(const QUrl& home,
                                                         MissingCalendar missing) {
  PAYLARK_TRY_ASSIGN(
      const Multistatus members,
      Propfind(home, 1, "<d:resourcetype/><d:displayname/><d:supported-report-set/>"));
  for (const DavResponse& member : members.responses) {
    const QUrl url = AsFolder(home.resolved(QUrl(QString::fromStdString(member.href))));
    if (member.isCalendar &&
        (member.displayName == "Paylark" || url.path().endsWith(QStringLiteral("/paylark/"))))
      return CalDavCollection{url, member.offersSyncCollection};
  }
  const QUrl made = AsFolder(home).resolved(QUrl(QStringLiteral("paylark/")));
  if (missing == MissingCalendar::kLeave)
    return CalDavCollection{made, false, false};
  const HttpAnswer answer =
      http_.Send("MKCALENDAR", made, {{"Content-Type", "application/xml; charset=utf-8"}},
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:mkcalendar xmlns:d=\"DAV:\" "
                 "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:set><d:prop><d:displayname>Paylark"
                 "</d:displayname><c:supported-calendar-component-set><c:comp name=\"VEVENT\"/>"
                 "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>");
  if (!Succeeded(answer.status))
    return Refusal(made, answer, "the making of a calendar named Paylark");
  PAYLARK_TRY_ASSIGN(const Multistatus self, Propfind(made, 0, "<d:supported-report-set/>"));
  const bool offersSync = !self.responses.empty() && self.responses[0].offersSyncCollection;
  return CalDavCollection{made, offersSync};
}

Result<CalDavCollection> CalDavClient::Discover(const QUrl& url, MissingCalendar missing) {
  const HttpAnswer answer = http_.Send(
      "PROPFIND", url, {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
      PropfindBody(kDiscoveryProperties));
  if (answer.status == 0 || answer.status == 401 || answer.status == 403)
    return Refusal(url, answer, "");
  DavResponse self;
  if (answer.status == kMultistatus) {
    PAYLARK_TRY_ASSIGN(const Multistatus found, ParseMultistatus(answer.body.toStdString()));
    if (!found.responses.empty())
      self = found.responses.front();
  }
  if (self.isCalendar)
    return CalDavCollection{AsFolder(url), self.offersSyncCollection};
  QUrl home = self.calendarHome.empty()
                  ? QUrl()
                  : url.resolved(QUrl(QString::fromStdString(self.calendarHome)));
  if (home.isEmpty()) {
    QUrl principal = self.principal.empty()
                         ? QUrl()
                         : url.resolved(QUrl(QString::fromStdString(self.principal)));
    if (principal.isEmpty()) {
      PAYLARK_TRY_ASSIGN(principal, PrincipalFromWellKnown(url));
    }
    PAYLARK_TRY_ASSIGN(const Multistatus found, Propfind(principal, 0, "<c:calendar-home-set/>"));
    if (found.responses.empty() || found.responses.front().calendarHome.empty())
      return Status::NotFound(QStringLiteral("The calendar server names no calendar home for "
                                             "the user \"%1\".")
                                  .arg(http_.user())
                                  .toStdString());
    home = principal.resolved(QUrl(QString::fromStdString(found.responses.front().calendarHome)));
  }
  return PaylarkCalendarIn(AsFolder(home), missing);
}

Result<CalDavListing> CalDavClient::SyncCollection(const CalDavCollection& collection,
                                                   CalDavListing known) {
  const QByteArray body =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:sync-collection xmlns:d=\"DAV:\">"
      "<d:sync-token>" +
      Escaped(known.syncToken) +
      "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
      "</d:sync-collection>";
  const HttpAnswer answer = http_.Send("REPORT", collection.url,
                                       {{"Content-Type", "application/xml; charset=utf-8"}}, body);
  if (answer.status != kMultistatus && !known.syncToken.empty() && answer.status != 0 &&
      answer.status != 401) {
    // The token is stale (the server forgot it): list everything.
    known.syncToken.clear();
    return SyncCollection(collection, std::move(known));
  }
  if (answer.status != kMultistatus)
    return Refusal(collection.url, answer, "the listing of its events");
  PAYLARK_TRY_ASSIGN(const Multistatus found, ParseMultistatus(answer.body.toStdString()));
  CalDavListing listing;
  if (!known.syncToken.empty())
    listing.events = std::move(known.events);
  for (const DavResponse& response : found.responses) {
    const std::string name = NameOf(response.href);
    if (response.status == kNotFound)
      listing.events.erase(name);
    else if (!response.etag.empty())
      listing.events[name] = response.etag;
  }
  listing.syncToken = found.syncToken;
  return listing;
}

Result<CalDavListing> CalDavClient::CalendarQuery(const CalDavCollection& collection) {
  const HttpAnswer answer = http_.Send(
      "REPORT", collection.url,
      {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:calendar-query xmlns:d=\"DAV:\" "
      "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop><d:getetag/></d:prop><c:filter>"
      "<c:comp-filter name=\"VCALENDAR\"><c:comp-filter name=\"VEVENT\"/></c:comp-filter>"
      "</c:filter></c:calendar-query>");
  if (answer.status != kMultistatus)
    return Refusal(collection.url, answer, "the listing of its events");
  PAYLARK_TRY_ASSIGN(const Multistatus found, ParseMultistatus(answer.body.toStdString()));
  CalDavListing listing;
  for (const DavResponse& response : found.responses) {
    if (!response.etag.empty())
      listing.events[NameOf(response.href)] = response.etag;
  }
  return listing;
}

Result<CalDavListing> CalDavClient::List(const CalDavCollection& collection, CalDavListing known) {
  if (collection.offersSyncCollection)
    return SyncCollection(collection, std::move(known));
  return CalendarQuery(collection);
}

Result<std::map<std::string, KnownEvent>> CalDavClient::Fetch(
    const CalDavCollection& collection, const std::vector<std::string>& names) {
  constexpr std::size_t kBatch = 200;
  std::map<std::string, KnownEvent> known;
  for (std::size_t first = 0; first < names.size(); first += kBatch) {
    QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:calendar-multiget xmlns:d=\"DAV:\" "
        "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop><d:getetag/><c:calendar-data/>"
        "</d:prop>";
    for (std::size_t i = first; i < std::min(names.size(), first + kBatch); ++i) {
      const QUrl url = collection.url.resolved(QUrl(QString::fromStdString(names[i])));
      body += "<d:href>" + url.path(QUrl::FullyEncoded).toHtmlEscaped().toUtf8() + "</d:href>";
    }
    body += "</c:calendar-multiget>";
    const HttpAnswer answer =
        http_.Send("REPORT", collection.url,
                   {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}}, body);
    if (answer.status != kMultistatus)
      return Refusal(collection.url, answer, "the reading of its events");
    PAYLARK_TRY_ASSIGN(const Multistatus found, ParseMultistatus(answer.body.toStdString()));
    for (const DavResponse& response : found.responses) {
      if (!response.etag.empty() && !response.calendarData.empty())
        known[NameOf(response.href)] = {response.etag, EventFingerprint(response.calendarData)};
    }
  }
  return known;
}

Result<std::string> CalDavClient::CurrentEtag(const QUrl& url) {
  const HttpAnswer answer = http_.Send(
      "PROPFIND", url, {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
      PropfindBody("<d:getetag/>"));
  if (answer.status == kNotFound)
    return std::string();
  if (answer.status != kMultistatus)
    return Refusal(url, answer, "a question for an event's version");
  PAYLARK_TRY_ASSIGN(const Multistatus found, ParseMultistatus(answer.body.toStdString()));
  if (found.responses.empty() || found.responses.front().etag.empty())
    return Status::Corrupt("The calendar server gave an event without a version (ETag).");
  return found.responses.front().etag;
}

CalDavOutcome CalDavClient::Write(const QUrl& url, const CalDavAction& action,
                                  const std::string& etag) {
  HttpHeaders headers = {{"Content-Type", "text/calendar; charset=utf-8"}};
  if (etag.empty())
    headers.append({QByteArray("If-None-Match"), QByteArray("*")});
  else
    headers.append({QByteArray("If-Match"), QByteArray(QByteArray::fromStdString(etag))});
  const HttpAnswer answer =
      http_.Send("PUT", url, headers, QByteArray::fromStdString(action.event->text));
  if (Succeeded(answer.status))
    return {Status::Ok(), answer.etag.toStdString(), answer.status};
  return {Refusal(url, answer, "the writing of an event"), {}, answer.status};
}

CalDavOutcome CalDavClient::Remove(const QUrl& url, const std::string& etag) {
  const HttpAnswer answer =
      http_.Send("DELETE", url, {{"If-Match", QByteArray::fromStdString(etag)}});
  if (Succeeded(answer.status) || answer.status == kNotFound)
    return {Status::Ok(), {}, answer.status};
  return {Refusal(url, answer, "the removal of an event"), {}, answer.status};
}

CalDavOutcome CalDavClient::Apply(const CalDavCollection& collection, const CalDavAction& action) {
  const QUrl url = collection.url.resolved(QUrl(QString::fromStdString(action.name)));
  const bool removal = action.change == CalDavChange::kRemove;
  CalDavOutcome outcome = removal ? Remove(url, action.etag) : Write(url, action, action.etag);
  if (outcome.httpStatus != kPreconditionFailed)
    return outcome;
  // Someone changed the event since the listing: the due's version wins, over the new ETag.
  const Result<std::string> current = CurrentEtag(url);
  if (!current.ok())
    return {current.status(), {}, 0};
  if (removal)
    return current.value().empty() ? CalDavOutcome{} : Remove(url, current.value());
  return Write(url, action, current.value());
}

}  // namespace paylark
