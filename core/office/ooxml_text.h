#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace paylark {

// Text helpers shared by the workbook and the Word document. Both are XML inside, so text is
// UTF-8 and holds only the characters XML 1.0 allows.

// The notes as the office documents show them: every CR LF becomes LF.
std::string NotesWithLineFeeds(std::string_view notes);
// Drops the control characters that XML 1.0 cannot hold (all below U+0020 but tab, LF and CR).
std::string XmlSafeText(std::string_view text);
// XmlSafeText with &, <, > and " escaped, for element text and attribute values.
std::string XmlEscaped(std::string_view text);
// Cuts UTF-8 text after `limit` characters (code points); true when something was cut.
bool CutToCharacters(std::string& text, std::size_t limit);

}  // namespace paylark
