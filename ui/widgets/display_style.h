#pragma once

#include <QColor>
#include <QPalette>

class QApplication;
class QWidget;

namespace paylark {

// The one display style every Paylark window is drawn in, and the menu bar buttons' style.
inline constexpr int kDisplayStyle = 0x8002;
inline constexpr int kMenuButtonStyle = 0x8021;

// The colour queries of the styled-widget layer.
class GuiDrawLayer final {
 public:
  // The face colour of a style: RGB(173, 201, 243) for kDisplayStyle.
  static QColor GetRGBColorFace(int style);
  // The highlight colour of button captions in a style.
  static QColor GetRGBColorBTNHigh(int style);
  // The top and bottom colours of the face colour's vertical gradient.
  static QColor GradientTop(const QColor& face);
  static QColor GradientBottom(const QColor& face);
};

// A complete palette (every role, every colour group) on the face colour, so a dark desktop theme
// never puts light text on it.
QPalette DisplayPalette();
// The Fusion style and DisplayPalette for the whole application.
void ApplyDisplayStyle(QApplication& application);
// Paints the widget's background in the face colour (one brush for the widget's lifetime).
void UseFaceBackground(QWidget& widget);

}  // namespace paylark
