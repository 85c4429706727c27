#include "tests/ui/editor_fixture.h"

#include <QAbstractButton>
#include <QTest>

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

void Press(QWidget& parent, const char* name) {
  QTest::mouseClick(&Child<QAbstractButton>(parent, name), Qt::LeftButton);
}

QLineEdit& Field(QWidget& parent, const char* name) {
  return Child<QLineEdit>(parent, name);
}

}  // namespace paylark::test
