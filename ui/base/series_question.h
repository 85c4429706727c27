#pragma once

#include "core/base/messages.h"
#include "core/recurrence/series_editing.h"

class QWidget;

namespace paylark {

class Prompt;

// Asks a series question with Yes (the whole series), No (this record) and Cancel; a closed box
// counts as Cancel.
SeriesChoice AskSeriesQuestion(Prompt& prompt, QWidget* parent, MessageId question);

// Asks which dues a change reaches: this due only, this and later (unpaid) dues, or the whole
// series, naming how many dues each answer changes; a closed box counts as Cancel.
SeriesChoice AskSeriesScope(Prompt& prompt, QWidget* parent, const SeriesScopeCounts& counts);

}  // namespace paylark
