#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/messages.h"

namespace paylark {

// Appends one field in the RFC 4180 form: quoted, with quotes doubled, when it holds a comma,
// a quote, CR or LF; as it is otherwise.
void AppendCsvField(std::string& out, std::string_view field);
// Appends the fields separated by commas and ended by CR LF.
void AppendCsvRow(std::string& out, const std::vector<std::string_view>& fields);

// A text value as the export writes it: one that a spreadsheet would take for a formula (it starts
// with "=", "+", "-" or "@" and is no number) gets a leading apostrophe, which spreadsheets show as
// text and do not store. A value that already starts with apostrophes before such a character gets
// one more, so CsvTextValue always gives back exactly the value written.
std::string CsvSafeText(std::string_view value);
// A one-line text value (a title, a bank's payment reference) as the export writes it: as
// CsvSafeText, with each control character (C0, DEL, C1) replaced by U+FFFD, so that none
// reaches a terminal or a spreadsheet raw. The field's RFC 4180 form is unchanged.
std::string CsvLineText(std::string_view value);
// A text field as the import reads it: the apostrophe CsvSafeText adds is taken off again.
std::string CsvTextValue(std::string_view field);

// The separator a file uses: ",", ";" or a tab, whichever its header line (outside quotes) holds
// most of; a comma when it holds none.
char DetectCsvSeparator(std::string_view text);

// What a reader keeps of one field; longer fields make their row bad instead of using memory.
inline constexpr std::size_t kCsvFieldLimit = 1 << 20;
// What a reader keeps of one row's fields; a row of endless commas is bad, not a memory hog.
inline constexpr std::size_t kCsvFieldCountLimit = 1024;

struct CsvRow {
  std::size_t number = 0;  // 1 for the first row of the file (the header)
  std::vector<std::string> fields;
  std::optional<Message> problem;  // why the row cannot be used; the fields may be partial
};

// Reads RFC 4180 CSV row by row: fields separated by commas (or the given separator), rows by
// CR LF, LF or CR, quoted fields holding separators, doubled quotes and line breaks, which are kept
// as written. A leading byte-order mark is passed
// over. A bad row (text that is not UTF-8, an over-long field or row, a quote left open or followed
// by more text) is reported and reading goes on with the next row.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text, char separator = ',');

  // False at the end of the text.
  bool Next(CsvRow& row);
  // How far reading has come, in bytes of the text.
  std::size_t position() const { return position_; }

 private:
  enum class FieldEnd { kComma, kRow, kText };

  FieldEnd ReadField(CsvRow& row, std::string& field);
  FieldEnd ReadQuotedField(CsvRow& row, std::string& field);
  FieldEnd EndAfter(char c);
  static void Append(CsvRow& row, std::string& field, char c);

  std::string_view text_;
  char separator_;
  std::size_t position_ = 0;
  std::size_t rowNumber_ = 0;
};

}  // namespace paylark
