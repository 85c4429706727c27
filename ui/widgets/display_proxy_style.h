#pragma once

#include <QProxyStyle>

namespace paylark {

// Fusion with Paylark's own icons for the standard ones the main window shows (the search box's
// clear button, the menu bar's overflow arrow): the style would look those up in the desktop's
// icon theme, and that first lookup reads the theme's index and image plugins while the window
// is being made.
class DisplayProxyStyle final : public QProxyStyle {
 public:
  DisplayProxyStyle();

  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace paylark
