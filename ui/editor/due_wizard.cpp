#include "ui/editor/due_wizard.h"

#include <QPainter>
#include <QSvgRenderer>

#include "ui/base/resources.h"
#include "ui/editor/details_page.h"
#include "ui/editor/notes_page.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/styled_button.h"

namespace paylark {
namespace {

// The watermark stands beside the page, so it is drawn narrow; the header picture is the logo.
constexpr QSize kWatermarkSize(164, 314);
constexpr QSize kHeaderPictureSize(48, 48);
// The wizard with the watermark beside the page is about 700 pixels wide with its frame.
constexpr int kRoomForWatermark = 720;

QPixmap Picture(const QString& name, QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(SvgPath(name));
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

void UseStyledButton(QWizard& wizard, QWizard::WizardButton which, const QString& caption) {
  auto* button = new StyledButton(caption);
  button->SetStyleBorder(3);
  button->ShowText(true);
  wizard.setButton(which, button);
}

}  // namespace

std::unique_ptr<QWizard> MakeDueWizard(DetailsPage* details, NotesPage* notes, QWidget* parent) {
  auto wizard = std::make_unique<QWizard>(parent);
  // An empty title would show the application's name.
  wizard->setWindowTitle(QStringLiteral("New Due"));
  wizard->setWizardStyle(QWizard::ModernStyle);
  // Notes typed on the second page survive Back and Next.
  wizard->setOption(QWizard::IndependentPages, true);
  UseFaceBackground(*wizard);
  UseStyledButton(*wizard, QWizard::BackButton, QStringLiteral("< &Back"));
  UseStyledButton(*wizard, QWizard::NextButton, QStringLiteral("&Next >"));
  UseStyledButton(*wizard, QWizard::FinishButton, QStringLiteral("&Finish"));
  UseStyledButton(*wizard, QWizard::CancelButton, QStringLiteral("Cancel"));

  details->setPixmap(QWizard::WatermarkPixmap,
                     Picture(QStringLiteral("wizard-watermark"), kWatermarkSize));
  notes->setPixmap(QWizard::LogoPixmap,
                   Picture(QStringLiteral("wizard-header"), kHeaderPictureSize));
  wizard->addPage(details);
  wizard->addPage(notes);
  // The modern style paints its page area in the text background; the pages keep the face.
  for (QWidget* area :
       {static_cast<QWidget*>(details), static_cast<QWidget*>(notes), details->parentWidget()}) {
    area->setBackgroundRole(QPalette::Window);
  }
  return wizard;
}

void FitDueWizard(QWizard& wizard, const QSize& room) {
  if (room.width() >= kRoomForWatermark)
    return;
  for (int id : wizard.pageIds())
    wizard.page(id)->setPixmap(QWizard::WatermarkPixmap, QPixmap());
  // Laid out on its first page without the watermark, and as narrow as that allows.
  wizard.restart();
  wizard.adjustSize();
}

}  // namespace paylark
