#pragma once

#include "core/records/due_record.h"

class QWidget;

namespace paylark {

class PaylarkApp;

// Deletes a due after asking: a single due "Are you sure ..." (Yes/No); a series member whether
// the whole series (Yes) or this record alone (No) goes, or nothing (Cancel). A failure is told
// once, naming the due and the reason. The caller refreshes the list whatever the answer.
void DeleteDue(PaylarkApp& app, QWidget* parent, const DueRecord& record);

}  // namespace paylark
