#pragma once

#include <QIcon>
#include <QString>

namespace paylark {

// Registers the compiled-in pictures; call once after the QApplication exists.
void InitResources();

// The picture resources/icons/<name>.svg as an icon; a null icon when it is missing.
QIcon SvgIcon(const QString& name);
// Its resource path, for painting with QSvgRenderer.
QString SvgPath(const QString& name);

}  // namespace paylark
