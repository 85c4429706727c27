#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <deque>
#include <functional>

#include "ui/editor/dialog_runner.h"

namespace paylark::test {

// Stands in for the modal loops of the editor: each dialog the code under test runs is handed
// to the next step, which drives its real widgets and presses its buttons. A dialog that a step
// leaves open is closed as the user closes a window.
class ScriptedRunner final {
 public:
  using Step = std::function<void(QDialog&)>;

  ScriptedRunner& Then(Step step);
  DialogRunner runner();
  int dialogsRun() const { return dialogsRun_; }

 private:
  std::deque<Step> steps_;
  int dialogsRun_ = 0;
};

// The named child, or a fatal test error naming what is missing.
template <class Widget>
Widget& Child(QWidget& parent, const char* name) {
  Widget* child = parent.findChild<Widget*>(QString::fromLatin1(name));
  if (!child)
    qFatal("no child %s", name);
  return *child;
}

// Clicks the named button, radio or check box.
void Press(QWidget& parent, const char* name);
// The named line edit (amount, number and text fields alike).
QLineEdit& Field(QWidget& parent, const char* name);

}  // namespace paylark::test
