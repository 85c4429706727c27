#include "ui/widgets/display_style.h"

#include <QApplication>
#include <QWidget>

#include "ui/widgets/display_proxy_style.h"

namespace paylark {
namespace {

struct FaceGradient {
  QColor face;
  QColor top;
  QColor bottom;
};

// The faces the style knows a hand-picked gradient for.
constexpr int kKnownFaces = 3;
const FaceGradient& KnownGradient(int index) {
  static const FaceGradient gradients[kKnownFaces] = {
      {QColor(173, 201, 243), QColor(222, 234, 253), QColor(141, 178, 223)},
      {QColor(220, 222, 185), QColor(243, 251, 221), QColor(179, 194, 138)},
      {QColor(231, 227, 241), QColor(248, 248, 250), QColor(165, 160, 184)},
  };
  return gradients[index];
}

const FaceGradient* FindGradient(const QColor& face) {
  for (int i = 0; i < kKnownFaces; ++i) {
    if (KnownGradient(i).face.rgb() == face.rgb())
      return &KnownGradient(i);
  }
  return nullptr;
}

}  // namespace

QColor GuiDrawLayer::GetRGBColorFace(int style) {
  if (style == kDisplayStyle || style == kMenuButtonStyle)
    return QColor(173, 201, 243);
  return QColor(212, 208, 200);
}

QColor GuiDrawLayer::GetRGBColorBTNHigh(int style) {
  if (style == kDisplayStyle || style == kMenuButtonStyle)
    return QColor(0, 45, 150);
  return QColor(0, 0, 0);
}

QColor GuiDrawLayer::GradientTop(const QColor& face) {
  const FaceGradient* known = FindGradient(face);
  return known ? known->top : face;
}

QColor GuiDrawLayer::GradientBottom(const QColor& face) {
  const FaceGradient* known = FindGradient(face);
  if (known)
    return known->bottom;
  return QColor(face.red() - 30, face.green() - 30, face.blue() - 30);
}

QPalette DisplayPalette() {
  const QColor face = GuiDrawLayer::GetRGBColorFace(kDisplayStyle);
  const QColor black(0, 0, 0);
  const QColor white(255, 255, 255);
  const QColor disabledText(110, 118, 135);
  QPalette palette(black, face, QColor(236, 243, 254), QColor(96, 130, 182), QColor(130, 160, 205),
                   black, white);
  palette.setColor(QPalette::Base, white);
  palette.setColor(QPalette::AlternateBase, QColor(214, 227, 206));
  palette.setColor(QPalette::Window, face);
  palette.setColor(QPalette::WindowText, black);
  palette.setColor(QPalette::Button, QColor(222, 234, 253));
  palette.setColor(QPalette::ButtonText, black);
  palette.setColor(QPalette::Text, black);
  palette.setColor(QPalette::BrightText, white);
  palette.setColor(QPalette::Highlight, QColor(49, 106, 197));
  palette.setColor(QPalette::HighlightedText, white);
  palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
  palette.setColor(QPalette::ToolTipText, black);
  palette.setColor(QPalette::PlaceholderText, QColor(120, 120, 120));
  palette.setColor(QPalette::Link, QColor(0, 45, 150));
  palette.setColor(QPalette::LinkVisited, QColor(85, 26, 139));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(QPalette::Disabled, role, disabledText);
  }
  palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(150, 160, 180));
  palette.setColor(QPalette::Disabled, QPalette::Base, QColor(240, 240, 240));
  return palette;
}

void ApplyDisplayStyle(QApplication& application) {
  application.setStyle(new DisplayProxyStyle);
  application.setPalette(DisplayPalette());
}

void UseFaceBackground(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, GuiDrawLayer::GetRGBColorFace(kDisplayStyle));
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace paylark
