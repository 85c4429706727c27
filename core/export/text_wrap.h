#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/helvetica_metrics.h"

namespace paylark {

// Splits MacRoman text into lines no wider than maxExtent: paragraphs at each CR LF (an empty
// paragraph is one empty line), and a too-wide paragraph after the last blank that fits, else
// after the last hyphen that fits, else after the last character that fits. Blanks at a break end
// the line before it; every line holds at least one character of a non-empty paragraph.
std::vector<std::string> WrapText(std::string_view text, const HelveticaMeasure& measure,
                                  int maxExtent);

// The same rule over characters of any width (UTF-8 text, width of each character given):
// for text that mixes Helvetica with embedded fonts.
std::vector<std::string> WrapCharacters(std::string_view utf8,
                                        const std::function<int(char32_t)>& width, int maxExtent);

}  // namespace paylark
