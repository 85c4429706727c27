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

SeriesChoice AskSeriesScope(Prompt& prompt, QWidget* parent, const SeriesScopeCounts& counts) {
  auto line = [](MessageId id, std::size_t count) {
    return MessageText(Message{id, {}, static_cast<long long>(count), {}});
  };
  const std::string text = MessageText(MessageId::kModifySeriesScope) + "\n\n" +
                           line(MessageId::kScopeThisRecord, counts.thisRecord) + "\n" +
                           line(MessageId::kScopeThisAndLater, counts.thisAndLater) + "\n" +
                           line(MessageId::kScopeWholeSeries, counts.wholeSeries);
  switch (prompt.Ask(parent, QString::fromStdString(text), PromptButtons::kSeriesScope)) {
    case PromptAnswer::kYes:
      return SeriesChoice::kWholeSeries;
    case PromptAnswer::kFromHere:
      return SeriesChoice::kThisAndLater;
    case PromptAnswer::kNo:
      return SeriesChoice::kThisRecord;
    default:
      return SeriesChoice::kCancel;
  }
}

}  // namespace paylark
