#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace paylark {

// The first page of a PDF fitted into the box, on white (Qt PDF); a null image for a file that
// is no PDF, has no page, or when Qt PDF's module cannot be loaded. Safe on any thread.
QImage RenderPdfPage(const QString& path, QSize box);

}  // namespace paylark
