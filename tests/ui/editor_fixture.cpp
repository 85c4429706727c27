#include "tests/ui/editor_fixture.h"

namespace paylark::test {

ScriptedRunner& ScriptedRunner::Then(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

DialogRunner ScriptedRunner::runner() {
  return [this](QDialog& dialog) {
    ++dialogsRun_;
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!steps_.empty()) {
      const Step step = std::move(steps_.front());
      steps_.pop_front();
      step(dialog);
    }
    if (dialog.isVisible())
      dialog.reject();
    return dialog.result();
  };
}

}  // namespace paylark::test
