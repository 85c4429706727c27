#pragma once

#include <QToolBox>

class QAction;

namespace paylark {

class Commands;

// The navigation folders "Due", "Tools", "Export" and "Print": columns of large-icon items, each
// issuing its command exactly as the menu does. The exports always include notes.
class NavigationBar final : public QToolBox {
  Q_OBJECT

 public:
  NavigationBar(const Commands& commands, QWidget* parent = nullptr);
};

}  // namespace paylark
