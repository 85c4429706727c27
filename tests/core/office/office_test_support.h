#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/office/office_export.h"
#include "core/records/due_record.h"
#include "tests/support/scratch_folder.h"

namespace paylark::testing {

// Every entry of a zip file by name; empty when the file is no zip.
std::map<std::string, std::string> ReadZipEntries(const std::string& path);
// &amp; &lt; &gt; &quot; &apos; back to their characters.
std::string XmlUnescaped(std::string text);

// A due in February 2007 on `day` at 18:00, started on the 1st at 09:00.
DueRecord FebruaryDue(const std::string& title, int day, double amount, bool paid,
                      const std::string& notes = "");
// Twelve dues "Due 1" .. "Due 12"; the odd ones paid, amount = 10 × number.
std::vector<DueRecord> TwelveDues();
OfficeExportRequest Request(const std::vector<DueRecord>& rows, NotesChoice notes,
                            std::string monthText = "February, 2007");

}  // namespace paylark::testing
