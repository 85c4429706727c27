#include "core/export/html_text.h"

namespace paylark {

std::string HtmlEscaped(std::string_view value) {
  std::string html;
  html.reserve(value.size());
  for (const char c : value) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '"':
        html += "&quot;";
        break;
      case '\'':
        html += "&#39;";
        break;
      default:
        html += c;
    }
  }
  return html;
}

std::string HtmlEscapedLines(std::string_view value) {
  std::string html;
  std::size_t copied = 0;
  for (std::size_t pos; (pos = value.find("\r\n", copied)) != std::string_view::npos;) {
    html.append(HtmlEscaped(value.substr(copied, pos - copied))).append("<br>");
    copied = pos + 2;
  }
  return html.append(HtmlEscaped(value.substr(copied)));
}

}  // namespace paylark
