#include "ui/base/message_box_prompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace paylark {
namespace {

QMessageBox::StandardButtons ButtonsOf(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::kOpenShowClose:
      return QMessageBox::Open | QMessageBox::Close;
    case PromptButtons::kKeepMineTakeTheirs:
      return QMessageBox::NoButton;
    case PromptButtons::kSeriesScope:
      return QMessageBox::Cancel;
    case PromptButtons::kOk:
      break;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::kInformation:
      return QMessageBox::Information;
    case PromptIcon::kWarning:
      return QMessageBox::Warning;
    case PromptIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

PromptAnswer AnswerOf(int button, PromptButtons buttons) {
  switch (button) {
    case QMessageBox::Yes:
      return PromptAnswer::kYes;
    case QMessageBox::No:
      return PromptAnswer::kNo;
    case QMessageBox::Ok:
      return PromptAnswer::kOk;
    case QMessageBox::Open:
      return PromptAnswer::kOpen;
    default:
      break;
  }
  if (buttons == PromptButtons::kYesNo || buttons == PromptButtons::kKeepMineTakeTheirs)
    return PromptAnswer::kNo;
  return buttons == PromptButtons::kOk ? PromptAnswer::kOk : PromptAnswer::kCancel;
}

PromptAnswer AskSeriesScope(QMessageBox& box) {
  // One role for the three, so they stand in the order of their reach.
  QPushButton* thisDue = box.addButton(QStringLiteral("This due only"), QMessageBox::ActionRole);
  QPushButton* later =
      box.addButton(QStringLiteral("This and later dues"), QMessageBox::ActionRole);
  QPushButton* whole = box.addButton(QStringLiteral("The whole series"), QMessageBox::ActionRole);
  box.setDefaultButton(thisDue);
  box.setEscapeButton(QMessageBox::Cancel);
  box.exec();
  if (box.clickedButton() == thisDue)
    return PromptAnswer::kNo;
  if (box.clickedButton() == later)
    return PromptAnswer::kFromHere;
  return box.clickedButton() == whole ? PromptAnswer::kYes : PromptAnswer::kCancel;
}

}  // namespace

PromptAnswer MessageBoxPrompt::Ask(QWidget* parent, const QString& text, PromptButtons buttons,
                                   PromptIcon icon) {
  QMessageBox box(IconOf(icon), QStringLiteral("Paylark"), text, ButtonsOf(buttons), parent);
  if (buttons == PromptButtons::kOpenShowClose) {
    QPushButton* show = box.addButton(QStringLiteral("Show in Folder"), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Open);
    box.exec();
    if (box.clickedButton() == show)
      return PromptAnswer::kShowInFolder;
    return box.clickedButton() == box.button(QMessageBox::Open) ? PromptAnswer::kOpen
                                                                : PromptAnswer::kCancel;
  }
  if (buttons == PromptButtons::kKeepMineTakeTheirs) {
    QPushButton* mine = box.addButton(QStringLiteral("Keep Mine"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("Take Theirs"), QMessageBox::NoRole);
    box.setDefaultButton(mine);
    box.exec();
    return box.clickedButton() == mine ? PromptAnswer::kYes : PromptAnswer::kNo;
  }
  if (buttons == PromptButtons::kSeriesScope)
    return AskSeriesScope(box);
  if (buttons != PromptButtons::kOk)
    box.setDefaultButton(QMessageBox::Yes);
  return AnswerOf(box.exec(), buttons);
}

}  // namespace paylark
