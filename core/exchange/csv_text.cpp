#include "core/exchange/csv_text.h"

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

CsvReader::CsvReader(std::string_view text) : text_(text) {
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
  if (c == ',')
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
    if (c == ',' || c == '\r' || c == '\n')
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
      if (next == ',' || next == '\r' || next == '\n')
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
