#include "ui/shell/navigation_bar.h"

#include <QAction>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/base/resources.h"
#include "ui/shell/commands.h"
#include "ui/widgets/display_style.h"

namespace paylark {
namespace {

struct Item {
  const char* caption;
  QAction* command;
  const char* icon;
};

QWidget* MakeFolder(std::initializer_list<Item> items) {
  auto* folder = new QWidget;
  auto* layout = new QVBoxLayout(folder);
  layout->setContentsMargins(4, 8, 4, 8);
  layout->setSpacing(6);
  for (const Item& item : items) {
    auto* button = new QToolButton(folder);
    button->setText(QString::fromLatin1(item.caption));
    button->setIcon(SvgIcon(QString::fromLatin1(item.icon)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setMinimumHeight(60);
    QAction* command = item.command;
    QObject::connect(button, &QToolButton::clicked, command, &QAction::trigger);
    layout->addWidget(button);
  }
  layout->addStretch(1);
  return folder;
}

}  // namespace

NavigationBar::NavigationBar(const Commands& commands, QWidget* parent) : QToolBox(parent) {
  setObjectName(QStringLiteral("NavigationBar"));
  UseFaceBackground(*this);
  // Folder captions as gradient bars in the face colour, the open one a shade warmer.
  setStyleSheet(QStringLiteral(
      "QToolBox::tab { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #deeafd, "
      "stop:1 #8db2df); border: 1px solid #6f96cf; border-radius: 3px; color: #002d96; "
      "font-weight: bold; padding-left: 8px; min-height: 24px; }"
      "QToolBox::tab:selected { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
      "stop:0 #fff4cc, stop:1 #ffd69a); border-color: #c9973b; }"
      "QToolBox::tab:hover { border-color: #002d96; }"));
  addItem(MakeFolder({{"Add", commands.newDue, "nav-add"},
                      {"Modify", commands.modifyDue, "nav-modify"},
                      {"Delete", commands.deleteDue, "nav-delete"}}),
          QStringLiteral("Due"));
  addItem(MakeFolder({{"Refresh", commands.refresh, "nav-refresh"},
                      {"Synchronize", commands.synchronize, "nav-synchronize"},
                      {"Working Directory", commands.changeDirectory, "nav-working-directory"}}),
          QStringLiteral("Tools"));
  addItem(MakeFolder({{"Excel", commands.excelWithNotes, "nav-excel"},
                      {"Word", commands.wordWithNotes, "nav-word"},
                      {"HTML", commands.htmlWithNotes, "nav-html"},
                      {"PDF", commands.pdfWithNotes, "nav-pdf"}}),
          QStringLiteral("Export"));
  addItem(MakeFolder({{"Print", commands.print, "nav-print"}}), QStringLiteral("Print"));
  setCurrentIndex(0);
}

}  // namespace paylark
