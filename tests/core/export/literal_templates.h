#pragma once

// The template engines written as the plain step-by-step algorithm, quadratic and obviously
// right, to compare the real engines with.

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/format.h"
#include "core/records/due_record.h"

namespace paylark::literal {

inline void Replace(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty())
    return;
  for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
    text.replace(pos, from.size(), to);
}

inline std::string Between(const std::string& text, std::string_view start, std::string_view end) {
  const std::size_t begin = text.find(start);
  if (begin == std::string::npos)
    return {};
  const std::size_t stop = text.find(end, begin + start.size());
  if (stop == std::string::npos)
    return {};
  return text.substr(begin + start.size(), stop - begin - start.size());
}

inline std::string Cut(std::string& text, std::string_view start, std::string_view end) {
  std::string section = Between(text, start, end);
  Replace(text, section, "");
  return section;
}

inline std::string Escaped(std::string value) {
  Replace(value, "&", "&amp;");
  Replace(value, "<", "&lt;");
  Replace(value, ">", "&gt;");
  Replace(value, "\"", "&quot;");
  Replace(value, "'", "&#39;");
  return value;
}

inline std::string HtmlExport(std::string text, const std::vector<DueRecord>& rows,
                              const std::string& month, bool withNotes) {
  const std::string section = Cut(text, "<{[loopstart]}>", "<{[loopend]}>");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DueRecord& r = rows[i];
    std::string copy = section;
    std::string notes = Escaped(r.notes);
    Replace(notes, "\r\n", "<br>");
    Replace(copy, "<{[duetitle]}>", Escaped(r.title));
    Replace(copy, "<{[dates]}>",
            FormatDocumentDate(r.startDate) + " - " + FormatDocumentDate(r.dueDate));
    Replace(copy, "<{[payee]}>", Escaped(r.payTo));
    Replace(copy, "<{[account]}>", Escaped(r.account));
    Replace(copy, "<{[duetype]}>", r.type == 2 ? "Personal" : "Business");
    Replace(copy, "<{[status]}>", r.paid != 0 ? "Paid" : "Unpaid");
    Replace(copy, "<{[amount]}>", FormatAmount(r.amount));
    Replace(copy, "<{[notes]}>", notes);
    Replace(copy, "<{[countrecord]}>",
            "Record " + std::to_string(i + 1) + " of " + std::to_string(rows.size()));
    if (!withNotes || r.notes.empty())
      Replace(copy, Between(copy, "<{[notesstart]}>", "<{[notesend]}>"), "");
    Replace(text, "<{[loopstart]}>", copy + "<{[loopstart]}>");
  }
  Replace(text, "<{[monthyear]}>", Escaped(month));
  for (const char* marker :
       {"<{[notesstart]}>", "<{[notesend]}>", "<{[loopstart]}>", "<{[loopend]}>"}) {
    Replace(text, marker, "");
  }
  return text;
}

inline std::string PrintPage(std::string text, const std::vector<DueRecord>& checked,
                             const std::string& range) {
  const std::string section = Cut(text, "<{[loopstart]}>", "<{[loopend]}>");
  std::string header = Cut(text, "<{[headerstart]}>", "<{[headerend]}>");
  std::string footer = Cut(text, "<{[footerstart]}>", "<{[footerend]}>");
  Replace(header, "<{[headerright]}>", "");
  Replace(header, "<{[headerleft]}>", "Due Date Details");
  Replace(header, "<{[headercenter]}>", Escaped(range));
  for (const char* name : {"<{[headerright]}>", "<{[headerleft]}>", "<{[headercenter]}>"})
    Replace(footer, name, "");
  double paid = 0;
  double unpaid = 0;
  int number = 0;
  for (const DueRecord& r : checked) {
    ++number;
    (r.paid != 0 ? paid : unpaid) += r.amount;
    std::string copy = section;
    Replace(copy, "<{[snumber]}>", std::to_string(number) + ".");
    Replace(copy, "<{[icon]}>", r.seriesId.empty() ? "icon.bmp" : "recicon.bmp");
    Replace(copy, "<{[duetitle]}>", Escaped(r.title));
    Replace(copy, "<{[startdate]}>", FormatDate(r.startDate, "dd MMM, yyyy"));
    Replace(copy, "<{[duedate]}>", FormatDate(r.dueDate, "dd MMM, yyyy"));
    Replace(copy, "<{[payee]}>", Escaped(r.payTo));
    Replace(copy, "<{[account]}>", Escaped(r.account));
    Replace(copy, "<{[duetype]}>", r.type == 2 ? "Personal" : "Business");
    Replace(copy, "<{[status]}>", r.paid != 0 ? "Paid" : "Unpaid");
    Replace(copy, "<{[amount]}>", FormatAmount(r.amount));
    Replace(text, "<{[loopstart]}>", copy + "<{[loopstart]}>");
  }
  Replace(text, "<{[paidamount]}>", FormatAmount(paid));
  Replace(text, "<{[unpaidamount]}>", FormatAmount(unpaid));
  Replace(text, "<{[totalamount]}>", FormatAmount(unpaid + paid));
  Replace(text, "<{[headerstart]}>", header);
  Replace(text, "<{[footerstart]}>", footer);
  for (const char* marker :
       {"<{[headerright]}>", "<{[headerleft]}>", "<{[headercenter]}>", "<{[footerleft]}>",
        "<{[footerright]}>", "<{[footercenter]}>", "<{[loopstart]}>", "<{[loopend]}>",
        "<{[headerstart]}>", "<{[headerend]}>", "<{[footerstart]}>", "<{[footerend]}>"}) {
    Replace(text, marker, "");
  }
  return text;
}

// The tokens of a list written as one text, split at its blanks.
inline std::vector<std::string_view> Tokens(std::string_view list) {
  std::vector<std::string_view> tokens;
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = std::min(list.find(' ', start), list.size());
    tokens.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return tokens;
}

// A few tokens of the list, so that the texts made from them meet the same markers often.
inline std::vector<std::string_view> RandomAlphabet(std::mt19937& random,
                                                    std::span<const std::string_view> tokens) {
  std::vector<std::string_view> alphabet(tokens.begin(), tokens.end());
  std::shuffle(alphabet.begin(), alphabet.end(), random);
  alphabet.resize(std::uniform_int_distribution<std::size_t>(2, 7)(random));
  return alphabet;
}

// A text of up to maxTokens tokens drawn from the list, which should hold markers, placeholders
// and pieces of them, so that joins form new markers.
inline std::string RandomText(std::mt19937& random, std::span<const std::string_view> tokens,
                              int maxTokens) {
  std::string text;
  const int count = std::uniform_int_distribution<int>(0, maxTokens)(random);
  std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
  for (int i = 0; i < count; ++i)
    text += tokens[pick(random)];
  return text;
}

}  // namespace paylark::literal
