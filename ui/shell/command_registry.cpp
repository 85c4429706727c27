#include "ui/shell/command_registry.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "ui/base/resources.h"

namespace paylark {

CommandRegistry::CommandRegistry(QWidget& window) : QObject(&window), window_(window) {}

void CommandRegistry::SetPlace(MenuPlace place, QMenu& menu, QAction* before) {
  places_.insert(place, Place{&menu, before});
}

QAction* CommandRegistry::Add(const CommandDescription& command) {
  if (QAction* known = Find(command.name))
    return known;
  QAction* action = MakeCommand(&window_, command.text, command.prompt, nullptr, command.shortcut);
  action->setObjectName(command.name);
  commands_.insert(command.name, action);
  const Place place = places_.value(command.place);
  if (place.menu)
    place.menu->insertAction(place.before, action);
  return action;
}

QAction* CommandRegistry::Find(const QString& name) const {
  return commands_.value(name);
}

QAction* MakeCommand(QWidget* window, const QString& text, const QString& prompt, const char* icon,
                     const QKeySequence& shortcut) {
  auto* action = new QAction(text, window);
  const QStringList parts = prompt.split(QLatin1Char('\n'));
  action->setStatusTip(parts.value(0).trimmed());
  action->setToolTip(parts.value(1, parts.value(0)).trimmed());
  if (icon)
    action->setIcon(SvgIcon(QString::fromLatin1(icon)));
  if (!shortcut.isEmpty())
    action->setShortcut(shortcut);
  window->addAction(action);
  return action;
}

}  // namespace paylark
