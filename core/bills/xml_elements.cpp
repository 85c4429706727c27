#include "core/bills/xml_elements.h"

#include <algorithm>

#include "core/base/text_encoding.h"

namespace paylark {
namespace {

std::string_view View(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

}  // namespace

bool XmlElements::Is(const xmlNode* node, std::string_view name) const {
  if (!node || node->type != XML_ELEMENT_NODE || View(node->name) != name || !node->ns)
    return false;
  const std::string_view space = View(node->ns->href);
  return std::find(spaces_.begin(), spaces_.end(), space) != spaces_.end();
}

const xmlNode* XmlElements::Find(const xmlNode* node,
                                 std::initializer_list<std::string_view> path) const {
  for (const std::string_view name : path) {
    const xmlNode* found = nullptr;
    for (const xmlNode* child = node ? node->children : nullptr; child && !found;
         child = child->next) {
      if (Is(child, name))
        found = child;
    }
    node = found;
  }
  return node;
}

std::string XmlElements::TextAt(const xmlNode* node,
                                std::initializer_list<std::string_view> path) const {
  const xmlNode* found = Find(node, path);
  std::string text;
  for (const xmlNode* child = found ? found->children : nullptr; child; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
      text += View(child->content);
  }
  return std::string(TrimWhiteSpace(text));
}

std::string XmlElements::Attribute(const xmlNode* node, const char* name) {
  if (!node)
    return {};
  xmlChar* value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name));
  if (!value)
    return {};
  std::string text(TrimWhiteSpace(View(value)));
  xmlFree(value);
  return text;
}

}  // namespace paylark
