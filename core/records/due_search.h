#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/records/due_record.h"
#include "core/records/record_store.h"

namespace paylark {

// The text with every letter in the lower case the process locale gives it (towlower of each
// code point), still UTF-8; bytes that are not UTF-8 become U+FFFD.
std::string FoldLetterCase(std::string_view text);

// Every due of every month with its searchable texts folded once, so each query is one pass
// over prepared text. It names the store's records: build a new one after the store changes.
class DueSearch {
 public:
  explicit DueSearch(const RecordStore& store);

  // The IDs of the dues whose title, pay-to, account or notes contain the text, letter case
  // aside, in due-date order (equal dates in map order). A text of white space alone, or one
  // holding a NUL, matches nothing.
  std::vector<std::string> Find(std::string_view text) const;
  std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string recordId;
    OleDateTime dueDate;
    std::string text;  // the four fields folded, separated by NUL
  };

  std::vector<Entry> entries_;  // due-date order
};

}  // namespace paylark
