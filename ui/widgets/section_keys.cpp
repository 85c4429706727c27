#include "ui/widgets/section_keys.h"

#include <QDateTimeEdit>
#include <QKeyEvent>

namespace paylark {
namespace {

class SectionKeys final : public QObject {
 public:
  explicit SectionKeys(QDateTimeEdit& picker) : QObject(&picker), picker_(picker) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &picker_ || event->type() != QEvent::KeyPress)
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
      return false;
    if (SwallowsSeparator(*key))
      return true;
    const int last = picker_.sectionCount() - 1;
    const bool backwards = key->key() == Qt::Key_Backtab ||
                           (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier);
    switch (key->key()) {
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        // From the outermost section the picker's own Tab handling passes the focus on.
        picker_.setCurrentSectionIndex(backwards ? 0 : last);
        return false;
      case Qt::Key_Left:
      case Qt::Key_Right: {
        const bool forward = (key->key() == Qt::Key_Right) != picker_.isRightToLeft();
        const int next = qBound(0, picker_.currentSectionIndex() + (forward ? 1 : -1), last);
        picker_.setCurrentSectionIndex(next);
        picker_.setSelectedSection(picker_.sectionAt(next));
        return true;
      }
      default:
        return false;
    }
  }

 private:
  // A date typed in full ("04/20/2026"): the picker moves on by itself when the typed digits
  // complete a section, so the separator typed after them must not move it a second time.
  bool SwallowsSeparator(const QKeyEvent& key) {
    const QString text = key.text();
    const bool character = text.size() == 1 && text.front().isPrint();
    const bool separator = character && !text.front().isLetterOrNumber();
    const bool movedOn = typedIn_ >= 0 && picker_.currentSectionIndex() != typedIn_;
    typedIn_ = character && !separator ? picker_.currentSectionIndex() : -1;
    return separator && movedOn;
  }

  QDateTimeEdit& picker_;
  int typedIn_ = -1;  // the section the last key typed into; -1 after any other key
};

}  // namespace

void UseSectionKeys(QDateTimeEdit& picker) {
  picker.installEventFilter(new SectionKeys(picker));
}

}  // namespace paylark
