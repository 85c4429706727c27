#include "ui/shell/about_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/base/messages.h"
#include "ui/base/resources.h"
#include "ui/widgets/display_style.h"
#include "ui/widgets/styled_button.h"

namespace paylark {
namespace {

QLabel* CentredLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Paylark"));
  UseFaceBackground(*this);
  setFixedSize(336, 250);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 16, 24, 16);
  layout->setSpacing(6);

  QLabel* name = CentredLabel(QStringLiteral("Paylark \n\nVersion 5.0"), this);
  QFont nameFont = name->font();
  nameFont.setBold(true);
  name->setFont(nameFont);
  layout->addWidget(name);

  QLabel* icon = CentredLabel({}, this);
  icon->setPixmap(SvgIcon(QStringLiteral("org.paylark.Paylark")).pixmap(40, 40));
  layout->addWidget(icon);

  layout->addWidget(
      CentredLabel(QStringLiteral("Support: ") + QString::fromLatin1(kSupportAddress), this));
  QLabel* web =
      CentredLabel(QStringLiteral("<a href=\"https://paylark.org\">https://paylark.org</a>"), this);
  web->setOpenExternalLinks(true);
  layout->addWidget(web);
  layout->addWidget(
      CentredLabel(QStringLiteral("Copyright \u00a9 Velmora. All rights reserved."), this));
  layout->addStretch(1);

  auto* ok = new StyledButton(QStringLiteral("OK"), this);
  ok->SetStyleBorder(3);
  ok->ShowText(true);
  ok->setDefault(true);
  ok->setFixedWidth(75);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

}  // namespace paylark
