#include "ui/widgets/display_proxy_style.h"

#include <QStyleFactory>

#include "ui/base/resources.h"

namespace paylark {

DisplayProxyStyle::DisplayProxyStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QIcon DisplayProxyStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
  switch (which) {
    case SP_LineEditClearButton:
      return SvgIcon(QStringLiteral("clear-text"));
    case SP_ToolBarHorizontalExtensionButton:
      return SvgIcon(QStringLiteral("more-menus"));
    default:
      return QProxyStyle::standardIcon(which, option, widget);
  }
}

}  // namespace paylark
