#include "ui/base/series_question.h"

#include "ui/base/prompt.h"

namespace paylark {

SeriesChoice AskSeriesQuestion(Prompt& prompt, QWidget* parent, MessageId question) {
  switch (prompt.Ask(parent, QString::fromStdString(MessageText(question)),
                     PromptButtons::kYesNoCancel)) {
    case PromptAnswer::kYes:
      return SeriesChoice::kWholeSeries;
    case PromptAnswer::kNo:
      return SeriesChoice::kThisRecord;
    default:
      return SeriesChoice::kCancel;
  }
}

}  // namespace paylark
