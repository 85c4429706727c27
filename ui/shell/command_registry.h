#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace paylark {

// The places in the window's menus where a feature's command may go.
enum class MenuPlace {
  kFileNew,     // File, at the top, above the imports
  kFileImport,  // File, after Import CSV… and Import Statement…
  kView,        // View, at the end
};

// What a feature tells about its command. prompt is the status-bar text, "\n", the tooltip.
struct CommandDescription {
  QString name;
  QString text;
  QString prompt;
  MenuPlace place;
  QKeySequence shortcut = {};
};

// The window's named commands that features add for themselves, so a new feature's command
// needs no change to the window. Each lands at the end of its menu place, in the order added;
// the window owns every action.
class CommandRegistry final : public QObject {
  Q_OBJECT

 public:
  explicit CommandRegistry(QWidget& window);

  // Commands added to place go into menu in front of before (at its end when before is null).
  void SetPlace(MenuPlace place, QMenu& menu, QAction* before);
  // The action of the command, shortcut working anywhere in the window. A name given twice
  // keeps the first command and returns it.
  QAction* Add(const CommandDescription& command);
  // The command added under name; null when none was.
  QAction* Find(const QString& name) const;

 private:
  struct Place {
    QMenu* menu = nullptr;
    QAction* before = nullptr;
  };

  QWidget& window_;
  QHash<MenuPlace, Place> places_;
  QHash<QString, QAction*> commands_;
};

// An action of the window with its menu text, status-bar prompt ("tip\ntooltip", blanks at
// either side cut), optional icon and shortcut; the window owns it.
QAction* MakeCommand(QWidget* window, const QString& text, const QString& prompt,
                     const char* icon = nullptr, const QKeySequence& shortcut = {});

}  // namespace paylark
