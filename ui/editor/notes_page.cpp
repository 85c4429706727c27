#include "ui/editor/notes_page.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/widgets/display_style.h"

namespace paylark {

NotesPage::NotesPage(QWidget* parent) : QWizardPage(parent), edit_(new QPlainTextEdit) {
  setTitle(QStringLiteral("Notes"));
  setSubTitle(QStringLiteral("Enter Due Notes"));
  UseFaceBackground(*this);
  edit_->setObjectName(QStringLiteral("notes"));
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit_->setTabChangesFocus(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_);
}

void NotesPage::SetNotes(const std::string& notes) {
  QString text = QString::fromStdString(notes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  edit_->setPlainText(text);
}

std::string NotesPage::Notes() const {
  QString text = edit_->toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text.toStdString();
}

}  // namespace paylark
