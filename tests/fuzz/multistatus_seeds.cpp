// Writes the multistatus fuzzer's seed corpus: a server's answers to discovery, listing and
// reading, a removed member, a state file and an event.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: multistatus_seeds FOLDER\n");
    return 2;
  }
  const std::vector<std::string> seeds = {
      "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\" "
      "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><response><href>/alice/</href><propstat><prop>"
      "<current-user-principal><href>/alice/</href></current-user-principal>"
      "<C:calendar-home-set><href>/alice/</href></C:calendar-home-set></prop>"
      "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
      "<multistatus xmlns=\"DAV:\"><response><href>/a/p/paylark-1.ics</href><propstat><prop>"
      "<getetag>\"e\"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
      "<response><href>/a/p/paylark-2.ics</href><status>HTTP/1.1 404 Not Found</status>"
      "</response><sync-token>http://radicale.org/ns/sync/1</sync-token></multistatus>",
      "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><response>"
      "<href>/a/p/paylark-1.ics</href><propstat><prop><getetag>\"e\"</getetag><C:calendar-data>"
      "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1@paylark\r\nSUMMARY:Rent\r\nBEGIN:VALARM\r\n"
      "TRIGGER;RELATED=START:-P3D\r\nEND:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
      "</C:calendar-data></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
      "</multistatus>",
      "paylark-caldav-state 1\ntoken t\npaylark-1.ics\t\"e\"\t0123456789abcdef\n",
  };
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream(std::string(argv[1]) + "/multistatus-" + std::to_string(i), std::ios::binary)
        << seeds[i];
  }
  return 0;
}
