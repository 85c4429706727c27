#include "core/export/text_wrap.h"

#include <algorithm>

#include "core/base/text_encoding.h"

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

std::string Utf8Of(std::u32string_view characters) {
  std::string utf8;
  for (const char32_t c : characters)
    AppendUtf8(utf8, c);
  return utf8;
}

void WrapCharacterParagraph(std::u32string_view paragraph, const std::vector<int>& widths,
                            int maxExtent, std::vector<std::string>& lines) {
  std::size_t offset = 0;
  while (true) {
    int extent = 0;
    std::size_t fitting = 0;
    while (fitting < paragraph.size() && (extent += widths[offset + fitting]) <= maxExtent)
      ++fitting;
    if (fitting == paragraph.size())
      break;
    const std::u32string_view fits = paragraph.substr(0, fitting);
    std::size_t length = fits.rfind(U' ');
    if (length == std::u32string_view::npos)
      length = fits.rfind(U'-');
    length = length == std::u32string_view::npos ? std::max<std::size_t>(fitting, 1) : length + 1;
    lines.push_back(Utf8Of(paragraph.substr(0, length)));
    paragraph.remove_prefix(length);
    offset += length;
  }
  lines.push_back(Utf8Of(paragraph));
}

}  // namespace

std::vector<std::string> WrapCharacters(std::string_view utf8,
                                        const std::function<int(char32_t)>& width, int maxExtent) {
  std::u32string characters;
  for (std::size_t pos = 0; pos < utf8.size();)
    characters += static_cast<char32_t>(NextCodePoint(utf8, pos));
  std::vector<int> widths;
  widths.reserve(characters.size());
  for (const char32_t c : characters)
    widths.push_back(width(c));
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = characters.find(U"\r\n", start)) != std::u32string::npos;
       start = end + 2) {
    WrapCharacterParagraph(std::u32string_view(characters).substr(start, end - start),
                           std::vector<int>(widths.begin() + static_cast<std::ptrdiff_t>(start),
                                            widths.begin() + static_cast<std::ptrdiff_t>(end)),
                           maxExtent, lines);
  }
  WrapCharacterParagraph(
      std::u32string_view(characters).substr(start),
      std::vector<int>(widths.begin() + static_cast<std::ptrdiff_t>(start), widths.end()),
      maxExtent, lines);
  return lines;
}

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
