#include "core/export/text_wrap.h"

#include <algorithm>

namespace paylark {
namespace {

// Where a line ends when only the first `fitting` characters fit.
std::size_t BreakAfter(std::string_view fitting) {
  if (const std::size_t blank = fitting.rfind(' '); blank != std::string_view::npos) {
    return blank + 1;
  }
  if (const std::size_t hyphen = fitting.rfind('-'); hyphen != std::string_view::npos) {
    return hyphen + 1;
  }
  return std::max<std::size_t>(fitting.size(), 1);
}

void WrapParagraph(std::string_view paragraph, const HelveticaMeasure& measure, int maxExtent,
                   std::vector<std::string>& lines) {
  // Measuring only up to the first character that does not fit keeps a long paragraph linear.
  for (std::size_t fitting;
       (fitting = measure.FittingCount(paragraph, maxExtent)) < paragraph.size();) {
    const std::size_t length = BreakAfter(paragraph.substr(0, fitting));
    lines.emplace_back(paragraph.substr(0, length));
    paragraph.remove_prefix(length);
  }
  lines.emplace_back(paragraph);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, const HelveticaMeasure& measure,
                                  int maxExtent) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string_view::npos;
       start = end + 2) {
    WrapParagraph(text.substr(start, end - start), measure, maxExtent, lines);
  }
  WrapParagraph(text.substr(start), measure, maxExtent, lines);
  return lines;
}

}  // namespace paylark
