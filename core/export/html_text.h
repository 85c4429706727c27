#pragma once

#include <string>
#include <string_view>

namespace paylark {

// A stored value as HTML text: "&", "<", ">", '"' and "'" become entities, so a value shows as
// typed and can never open a comment, a tag or a placeholder of the template.
std::string HtmlEscaped(std::string_view value);
// HtmlEscaped, with each CR LF made a "<br>" line break.
std::string HtmlEscapedLines(std::string_view value);

}  // namespace paylark
