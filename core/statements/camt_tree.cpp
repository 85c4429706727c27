#include "core/statements/camt_tree.h"

#include "core/base/text_encoding.h"
#include "core/base/written_date.h"
#include "core/statements/statement_amount.h"

namespace paylark {
namespace {

std::string_view View(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

}  // namespace

std::string NamespaceOf(const xmlNode* node) {
  return node && node->ns ? std::string(View(node->ns->href)) : std::string();
}

bool IsElement(const xmlNode* node, std::string_view name, std::string_view space) {
  return node && node->type == XML_ELEMENT_NODE && View(node->name) == name &&
         NamespaceOf(node) == space;
}

std::vector<const xmlNode*> CamtTree::Children(const xmlNode* parent, std::string_view name) const {
  std::vector<const xmlNode*> children;
  for (const xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
    if (IsElement(child, name, space_))
      children.push_back(child);
  }
  return children;
}

const xmlNode* CamtTree::Find(const xmlNode* node,
                              std::initializer_list<std::string_view> path) const {
  for (const std::string_view name : path) {
    const xmlNode* found = nullptr;
    for (const xmlNode* child = node ? node->children : nullptr; child && !found;
         child = child->next) {
      if (IsElement(child, name, space_))
        found = child;
    }
    node = found;
  }
  return node;
}

std::string CamtTree::TextAt(const xmlNode* node,
                             std::initializer_list<std::string_view> path) const {
  return TextOf(Find(node, path));
}

std::string CamtTree::TextOf(const xmlNode* node) {
  std::string text;
  for (const xmlNode* child = node ? node->children : nullptr; child; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
      text += View(child->content);
  }
  return std::string(TrimWhiteSpace(text));
}

std::optional<OleDateTime> CamtTree::DateAt(const xmlNode* node) const {
  const std::string date = TextAt(node, {"Dt"});
  return DateOf(date.empty() ? TextAt(node, {"DtTm"}) : date);
}

std::optional<OleDateTime> CamtTree::DateOf(std::string_view text) {
  // A date-time ("2026-11-30T10:00:00") is the day it starts with.
  return text.size() >= 10 ? WrittenDate(text.substr(0, 10)) : std::nullopt;
}

std::string CamtTree::AttributeAt(const xmlNode* node, std::initializer_list<std::string_view> path,
                                  const char* attribute) const {
  const xmlNode* found = Find(node, path);
  if (!found)
    return {};
  xmlChar* value = xmlGetNoNsProp(found, reinterpret_cast<const xmlChar*>(attribute));
  if (!value)
    return {};
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::string CamtTree::AccountIdAt(const xmlNode* account) const {
  const xmlNode* id = Find(account, {"Id"});
  const std::string iban = TextAt(id, {"IBAN"});
  return iban.empty() ? TextAt(id, {"Othr", "Id"}) : iban;
}

std::optional<Cents> CamtTree::SignedAmount(const xmlNode* node, std::string_view amount,
                                            std::string_view indicator) const {
  const std::string text = TextOf(Find(node, {amount}));
  const std::optional<Cents> cents = ParseStatementAmount(text, '.');
  if (!cents || text.find_first_of("-+") != std::string::npos)
    return std::nullopt;
  return TextOf(Find(node, {indicator})) == "DBIT" ? -*cents : *cents;
}

}  // namespace paylark
