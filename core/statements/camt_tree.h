#pragma once

#include <libxml/tree.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/cents.h"
#include "core/base/ole_date_time.h"

namespace paylark {

// The namespace URI of an element; empty when it has none.
std::string NamespaceOf(const xmlNode* node);
bool IsElement(const xmlNode* node, std::string_view name, std::string_view space);

// Looks up the elements of one CAMT document, all in its version's namespace. A missing element
// gives nothing (an empty text, an empty list, a null node), never a failure: what a statement
// needs is checked where it is needed. Text is taken from text nodes only, so an entity reference
// is never followed.
class CamtTree {
 public:
  explicit CamtTree(std::string space) : space_(std::move(space)) {}

  std::vector<const xmlNode*> Children(const xmlNode* parent, std::string_view name) const;
  // The first element along the path of child names.
  const xmlNode* Find(const xmlNode* node, std::initializer_list<std::string_view> path) const;
  // The trimmed text of the element along the path.
  std::string TextAt(const xmlNode* node, std::initializer_list<std::string_view> path) const;
  static std::string TextOf(const xmlNode* node);
  // The named attribute of the element along the path; empty when either is missing.
  std::string AttributeAt(const xmlNode* node, std::initializer_list<std::string_view> path,
                          const char* attribute) const;
  // An account's ID: its IBAN, else its other ID (Acct/Id/IBAN, Acct/Id/Othr/Id).
  std::string AccountIdAt(const xmlNode* account) const;
  // The date of an element holding Dt (ISODate) or DtTm (ISODateTime).
  std::optional<OleDateTime> DateAt(const xmlNode* node) const;
  // The day of "2026-11-30", "2026-11-30T23:59:59+01:00": the day the bank wrote.
  static std::optional<OleDateTime> DateOf(std::string_view text);
  // The amount of the child `amount`, negative when the child `indicator` says DBIT.
  std::optional<Cents> SignedAmount(const xmlNode* node, std::string_view amount,
                                    std::string_view indicator) const;

 private:
  std::string space_;
};

}  // namespace paylark
