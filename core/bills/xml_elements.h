#pragma once

#include <libxml/tree.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace paylark {

// Looks up the elements of an invoice by local name within the namespaces of its syntax (CII's
// rsm, ram and udt; UBL's document, cac and cbc), so that any prefix the sender chose reads the
// same. A missing element gives a null node or an empty text, never a failure. Text is taken
// from text nodes only, so an entity reference is never followed.
class XmlElements {
 public:
  explicit XmlElements(std::initializer_list<std::string_view> spaces) : spaces_(spaces) {}

  bool Is(const xmlNode* node, std::string_view name) const;
  // The first element along the path of child names.
  const xmlNode* Find(const xmlNode* node, std::initializer_list<std::string_view> path) const;
  // The trimmed text of the element along the path.
  std::string TextAt(const xmlNode* node, std::initializer_list<std::string_view> path) const;
  // The named attribute of the element along the path; empty when either is missing.
  static std::string Attribute(const xmlNode* node, const char* name);

 private:
  std::vector<std::string_view> spaces_;  // literals, which outlive every use
};

}  // namespace paylark
