#pragma once

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

}  // namespace paylark
