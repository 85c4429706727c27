#include "core/exchange/caldav_multistatus.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace paylark {
namespace {

constexpr char kDav[] = "DAV:";
constexpr char kCalDav[] = "urn:ietf:params:xml:ns:caldav";

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentFree>;

bool Is(const xmlNode* node, const char* space, const char* name) {
  return node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
         std::strcmp(reinterpret_cast<const char*>(node->ns->href), space) == 0 &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlNode* Child(const xmlNode* parent, const char* space, const char* name) {
  for (const xmlNode* child = parent->children; child; child = child->next) {
    if (Is(child, space, name))
      return child;
  }
  return nullptr;
}

std::string Text(const xmlNode* node) {
  if (!node)
    return {};
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The text of the <href> inside a property such as current-user-principal.
std::string HrefIn(const xmlNode* property) {
  return property ? Text(Child(property, kDav, "href")) : std::string();
}

bool NamesSyncCollection(const xmlNode* reportSet) {
  for (const xmlNode* supported = reportSet->children; supported; supported = supported->next) {
    const xmlNode* report =
        Is(supported, kDav, "supported-report") ? Child(supported, kDav, "report") : nullptr;
    if (report && Child(report, kDav, "sync-collection"))
      return true;
  }
  return false;
}

void ReadProperties(const xmlNode* prop, DavResponse& response) {
  for (const xmlNode* p = prop->children; p; p = p->next) {
    if (Is(p, kDav, "getetag"))
      response.etag = Text(p);
    else if (Is(p, kDav, "resourcetype"))
      response.isCalendar = Child(p, kCalDav, "calendar") != nullptr;
    else if (Is(p, kDav, "displayname"))
      response.displayName = Text(p);
    else if (Is(p, kDav, "current-user-principal"))
      response.principal = HrefIn(p);
    else if (Is(p, kCalDav, "calendar-home-set"))
      response.calendarHome = HrefIn(p);
    else if (Is(p, kCalDav, "calendar-data"))
      response.calendarData = Text(p);
    else if (Is(p, kDav, "supported-report-set"))
      response.offersSyncCollection = NamesSyncCollection(p);
  }
}

DavResponse ReadResponse(const xmlNode* node) {
  DavResponse response;
  response.href = Text(Child(node, kDav, "href"));
  if (const xmlNode* status = Child(node, kDav, "status"))
    response.status = StatusLineCode(Text(status));
  for (const xmlNode* propstat = node->children; propstat; propstat = propstat->next) {
    if (!Is(propstat, kDav, "propstat"))
      continue;
    const xmlNode* prop = Child(propstat, kDav, "prop");
    const int code = StatusLineCode(Text(Child(propstat, kDav, "status")));
    if (prop && code >= 200 && code < 300)
      ReadProperties(prop, response);
  }
  return response;
}

}  // namespace

int StatusLineCode(std::string_view line) {
  const auto space = line.find(' ');
  if (space == std::string_view::npos)
    return 0;
  // A status code is three digits that do not start with 0: "044" or "-12" is none.
  const std::string_view code = line.substr(space + 1, 3);
  const bool digits = code.size() == 3 && std::all_of(code.begin(), code.end(),
                                                      [](char c) { return c >= '0' && c <= '9'; });
  if (!digits || code[0] == '0' || (line.size() > space + 4 && line[space + 4] != ' '))
    return 0;
  return (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

Result<Multistatus> ParseMultistatus(std::string_view xml) {
  static std::once_flag initialized;
  std::call_once(initialized, [] { xmlInitParser(); });
  // Entity substitution and DTD loading stay off: a server's answer needs neither.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  const Document document(
      xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "multistatus.xml", nullptr, options));
  const xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
  if (!root || document->intSubset || !Is(root, kDav, "multistatus"))
    return Status::Corrupt("The server's answer is not a WebDAV multistatus.");
  Multistatus multistatus;
  for (const xmlNode* node = root->children; node; node = node->next) {
    if (Is(node, kDav, "response"))
      multistatus.responses.push_back(ReadResponse(node));
    else if (Is(node, kDav, "sync-token"))
      multistatus.syncToken = Text(node);
  }
  return multistatus;
}

}  // namespace paylark
