#include "core/office/ooxml_text.h"

namespace paylark {
namespace {

bool IsXmlIllegal(char character) {
  const auto byte = static_cast<unsigned char>(character);
  return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r';
}

bool IsContinuationByte(char character) {
  return (static_cast<unsigned char>(character) & 0xC0) == 0x80;
}

}  // namespace

std::string NotesWithLineFeeds(std::string_view notes) {
  std::string text;
  text.reserve(notes.size());
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (notes[i] == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n')
      continue;
    text += notes[i];
  }
  return text;
}

std::string XmlSafeText(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (const char character : text) {
    if (!IsXmlIllegal(character))
      safe += character;
  }
  return safe;
}

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size() + text.size() / 8);
  for (const char character : text) {
    switch (character) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        if (!IsXmlIllegal(character))
          escaped += character;
    }
  }
  return escaped;
}

bool CutToCharacters(std::string& text, std::size_t limit) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsContinuationByte(text[i]))
      continue;
    if (characters == limit) {
      text.resize(i);
      return true;
    }
    ++characters;
  }
  return false;
}

}  // namespace paylark
