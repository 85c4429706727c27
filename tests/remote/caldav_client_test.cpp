#include "remote/caldav_client.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "tests/remote/scripted_server.h"

namespace paylark::testing {
namespace {

using namespace std::chrono_literals;

const QByteArray kEtagOf7 =
    "<multistatus xmlns=\"DAV:\"><response><href>/cal/paylark-7.ics</href><propstat><prop>"
    "<getetag>\"server-2\"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat>"
    "</response></multistatus>";

class CalDavClientTest : public ::testing::Test {
 protected:
  CalDavClientTest() {
    event_.name = "paylark-7.ics";
    event_.text = "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n";
  }

  CalDavOutcome Apply(ScriptedServer& server, CalDavChange change, std::string etag) {
    DavHttp http(QStringLiteral("alice"), QStringLiteral("pass:word"), 5s);
    CalDavClient client(http);
    const CalDavCollection collection{QUrl(QString::fromLatin1(server.url("/cal/")))};
    return client.Apply(collection, {change, event_.name, std::move(etag),
                                     change == CalDavChange::kRemove ? nullptr : &event_});
  }

  int argc_ = 1;
  char name_[16] = "remote_tests";
  char* argv_[2] = {name_, nullptr};
  QCoreApplication application_{argc_, argv_};
  CalDavEvent event_;
};

TEST_F(CalDavClientTest, ANewEventFoundTakenIsWrittenOverItsCurrentVersion) {
  ScriptedServer server({Answer(412), Answer(207, kEtagOf7), AnswerWithEtag(204, "\"ours\"")});
  const CalDavOutcome outcome = Apply(server, CalDavChange::kCreate, {});
  ASSERT_TRUE(outcome.status.ok()) << outcome.status.message();
  EXPECT_EQ(outcome.etag, "\"ours\"");
  const auto& seen = server.seen();
  ASSERT_EQ(seen.size(), 3);
  EXPECT_EQ(seen[0].method, "PUT");
  EXPECT_EQ(seen[0].path, "/cal/paylark-7.ics");
  EXPECT_EQ(seen[0].headers.value("if-none-match"), "*");
  EXPECT_EQ(seen[0].headers.value("content-type"), "text/calendar; charset=utf-8");
  EXPECT_EQ(seen[0].body, QByteArray::fromStdString(event_.text));
  EXPECT_EQ(seen[0].headers.value("authorization"),
            "Basic " + QByteArray("alice:pass:word").toBase64());
  EXPECT_EQ(seen[1].method, "PROPFIND");
  EXPECT_EQ(seen[1].headers.value("depth"), "0");
  EXPECT_EQ(seen[2].method, "PUT");
  EXPECT_EQ(seen[2].headers.value("if-match"), "\"server-2\"");
  EXPECT_FALSE(seen[2].headers.contains("if-none-match"));
}

TEST_F(CalDavClientTest, AChangedEventIsReplacedOnlyIfItIsStillTheListedOne) {
  ScriptedServer server({AnswerWithEtag(204, "\"next\"")});
  const CalDavOutcome outcome = Apply(server, CalDavChange::kReplace, "\"listed\"");
  ASSERT_TRUE(outcome.status.ok()) << outcome.status.message();
  EXPECT_EQ(server.seen().front().headers.value("if-match"), "\"listed\"");
  EXPECT_EQ(outcome.etag, "\"next\"");
}

TEST_F(CalDavClientTest, ARemovalOfAnEventGoneMeanwhileSucceeds) {
  ScriptedServer server({Answer(412), Answer(404)});
  const CalDavOutcome outcome = Apply(server, CalDavChange::kRemove, "\"old\"");
  EXPECT_TRUE(outcome.status.ok()) << outcome.status.message();
  ASSERT_EQ(server.seen().size(), 2);
  EXPECT_EQ(server.seen()[0].method, "DELETE");
  EXPECT_EQ(server.seen()[0].headers.value("if-match"), "\"old\"");
}

TEST_F(CalDavClientTest, ARefusedWriteSaysWhatTheServerAnswered) {
  ScriptedServer server({Answer(507)});
  const CalDavOutcome outcome = Apply(server, CalDavChange::kCreate, {});
  EXPECT_FALSE(outcome.status.ok());
  EXPECT_EQ(outcome.httpStatus, 507);
  EXPECT_NE(outcome.status.message().find("HTTP 507"), std::string::npos)
      << outcome.status.message();
}

TEST_F(CalDavClientTest, ACollectionWithoutSyncCollectionIsListedByCalendarQuery) {
  const QByteArray calendar =
      "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><response>"
      "<href>/cal/</href><propstat><prop><resourcetype><collection/><C:calendar/>"
      "</resourcetype></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
      "</multistatus>";
  const QByteArray events =
      "<multistatus xmlns=\"DAV:\"><response><href>/cal/paylark-7.ics</href><propstat><prop>"
      "<getetag>\"a\"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
      "<response><href>/cal/Birthday%20Bob.ics</href><propstat><prop><getetag>\"b\"</getetag>"
      "</prop><status>HTTP/1.1 200 OK</status></propstat></response></multistatus>";
  ScriptedServer server({Answer(207, calendar), Answer(207, events)});
  DavHttp http({}, {}, 5s);
  CalDavClient client(http);
  const auto collection =
      client.Discover(QUrl(QString::fromLatin1(server.url("/cal"))), MissingCalendar::kLeave);
  ASSERT_TRUE(collection.ok()) << collection.status().message();
  EXPECT_EQ(collection.value().url.path(), QStringLiteral("/cal/"));
  EXPECT_FALSE(collection.value().offersSyncCollection);
  const auto listing = client.List(collection.value(), {{{"paylark-1.ics", "\"x\""}}, "stale"});
  ASSERT_TRUE(listing.ok()) << listing.status().message();
  const std::map<std::string, std::string> expected = {{"Birthday Bob.ics", "\"b\""},
                                                       {"paylark-7.ics", "\"a\""}};
  EXPECT_EQ(listing.value().events, expected);
  EXPECT_EQ(server.seen()[1].method, "REPORT");
  EXPECT_EQ(server.seen()[1].headers.value("depth"), "1");
  EXPECT_TRUE(server.seen()[1].body.contains("calendar-query"));
}

TEST_F(CalDavClientTest, AServerThatNeverAnswersEndsTheWaitWithAMessage) {
  ScriptedServer server({NoAnswer()});
  DavHttp http({}, {}, 300ms);
  CalDavClient client(http);
  QElapsedTimer clock;
  clock.start();
  const auto collection =
      client.Discover(QUrl(QString::fromLatin1(server.url("/"))), MissingCalendar::kLeave);
  EXPECT_LT(clock.elapsed(), 3000);
  ASSERT_FALSE(collection.ok());
  EXPECT_NE(collection.status().message().find("could not be reached"), std::string::npos)
      << collection.status().message();
}

}  // namespace
}  // namespace paylark::testing
