#include "core/exchange/csv_text.h"

#include <charconv>

#include "core/base/text_encoding.h"

namespace paylark {

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void AppendCsvRow(std::string& out, const std::vector<std::string_view>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0)
      out += ',';
    AppendCsvField(out, fields[i]);
  }
  out += "\r\n";
}

namespace {

bool IsNumber(std::string_view text) {
  double value = 0;
  const char* begin = text.data();
  if (!text.empty() && text.front() == '+')
    ++begin;
  const auto result = std::from_chars(begin, text.data() + text.size(), value);
  return begin != text.data() + text.size() && result.ec == std::errc() &&
         result.ptr == text.data() + text.size();
}

// True when the value, past its leading apostrophes, starts like a formula.
bool NeedsGuard(std::string_view value) {
  const std::size_t start = value.find_first_not_of('\'');
  if (start == std::string_view::npos ||
      std::string_view("=+-@").find(value[start]) == std::string_view::npos) {
    return false;
  }
  return start > 0 || !IsNumber(value);
}

}  // namespace

std::string CsvSafeText(std::string_view value) {
  return NeedsGuard(value) ? "'" + std::string(value) : std::string(value);
}

std::string CsvLineText(std::string_view value) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string text;
  text.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    const bool c1 = byte == 0xC2 && i + 1 < value.size() &&
                    static_cast<unsigned char>(value[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(value[i + 1]) <= 0x9F;
    if (byte < 0x20 || byte == 0x7F || c1) {
      text += kReplacement;
      i += c1 ? 1 : 0;
    } else {
      text += value[i];
    }
  }
  return CsvSafeText(text);
}

std::string CsvTextValue(std::string_view field) {
  if (field.starts_with('\'') && NeedsGuard(field.substr(1)))
    field.remove_prefix(1);
  return std::string(field);
}

char DetectCsvSeparator(std::string_view text) {
  std::size_t counts[3] = {0, 0, 0};
  static constexpr char kSeparators[3] = {',', ';', '\t'};
  bool quoted = false;
  for (const char c : text) {
    if (c == '"')
      quoted = !quoted;
    if (!quoted && (c == '\r' || c == '\n'))
      break;
    for (std::size_t i = 0; i < 3; ++i)
      counts[i] += !quoted && c == kSeparators[i] ? 1 : 0;
  }
  std::size_t best = 0;
  for (std::size_t i = 1; i < 3; ++i) {
    if (counts[i] > counts[best])
      best = i;
  }
  return kSeparators[best];
}

CsvReader::CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {
  if (text_.starts_with("\xEF\xBB\xBF"))
    position_ = 3;
}

bool CsvReader::Next(CsvRow& row) {
  if (position_ >= text_.size())
    return false;
  row.number = ++rowNumber_;
  row.fields.clear();
  row.problem.reset();
  for (;;) {
    std::string field;
    const FieldEnd end = ReadField(row, field);
    if (!row.problem && !IsValidUtf8(field))
      row.problem = Message{MessageId::kCsvNotUtf8, {}, 0, {}};
    if (row.fields.size() < kCsvFieldCountLimit) {
      row.fields.push_back(std::move(field));
    } else if (!row.problem) {
      row.problem = Message{MessageId::kCsvRowTooLong, {}, kCsvFieldCountLimit, {}};
    }
    if (end != FieldEnd::kComma)
      return true;
  }
}

void CsvReader::Append(CsvRow& row, std::string& field, char c) {
  if (field.size() < kCsvFieldLimit) {
    field += c;
  } else if (!row.problem) {
    row.problem = Message{MessageId::kCsvFieldTooLong, {}, kCsvFieldLimit, {}};
  }
}

CsvReader::FieldEnd CsvReader::EndAfter(char c) {
  if (c == separator_)
    return FieldEnd::kComma;
  if (c == '\r' && position_ < text_.size() && text_[position_] == '\n')
    ++position_;
  return FieldEnd::kRow;
}

CsvReader::FieldEnd CsvReader::ReadField(CsvRow& row, std::string& field) {
  if (position_ < text_.size() && text_[position_] == '"') {
    ++position_;
    return ReadQuotedField(row, field);
  }
  while (position_ < text_.size()) {
    const char c = text_[position_++];
    if (c == separator_ || c == '\r' || c == '\n')
      return EndAfter(c);
    Append(row, field, c);
  }
  return FieldEnd::kText;
}

CsvReader::FieldEnd CsvReader::ReadQuotedField(CsvRow& row, std::string& field) {
  while (position_ < text_.size()) {
    const char c = text_[position_++];
    if (c != '"') {
      Append(row, field, c);
      continue;
    }
    if (position_ < text_.size() && text_[position_] == '"') {
      ++position_;
      Append(row, field, '"');
      continue;
    }
    // The closing quote: the field ends here, and anything before the next comma is refused.
    while (position_ < text_.size()) {
      const char next = text_[position_++];
      if (next == separator_ || next == '\r' || next == '\n')
        return EndAfter(next);
      if (!row.problem)
        row.problem = Message{MessageId::kCsvStrayQuote, {}, 0, {}};
    }
    return FieldEnd::kText;
  }
  if (!row.problem)
    row.problem = Message{MessageId::kCsvUnclosedQuote, {}, 0, {}};
  return FieldEnd::kText;
}

}  // namespace paylark
