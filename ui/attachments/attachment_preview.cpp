#include "ui/attachments/attachment_preview.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QtConcurrent/QtConcurrentRun>

#include "ui/attachments/pdf_page.h"

namespace paylark {
namespace {

// An image whose pixels would need more memory than this is not decoded for a preview.
constexpr qint64 kLargestImagePixels = qint64{200} * 1000 * 1000;
constexpr QSize kPreviewBox(240, 300);

QImage ImagePreview(const QString& path, QSize box) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  if (!size.isValid() || qint64{size.width()} * size.height() > kLargestImagePixels)
    return {};
  reader.setScaledSize(
      size.boundedTo(box).isEmpty() ? size : size.scaled(box, Qt::KeepAspectRatio).boundedTo(size));
  return reader.read();
}

}  // namespace

QImage RenderPreview(const QString& path, QSize box) {
  if (QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0)
    return RenderPdfPage(path, box);
  return ImagePreview(path, box);
}

AttachmentPreview::AttachmentPreview(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("preview"));
  setAlignment(Qt::AlignCenter);
  setMinimumSize(kPreviewBox);
  setFrameShape(QFrame::StyledPanel);
  setWordWrap(true);
  connect(&watcher_, &QFutureWatcher<QImage>::finished, this, &AttachmentPreview::Finished);
}

AttachmentPreview::~AttachmentPreview() {
  watcher_.waitForFinished();
}

void AttachmentPreview::Show(const QString& path) {
  path_ = path;
  clear();
  if (path.isEmpty()) {
    emit Shown();
    return;
  }
  setText(QStringLiteral("Preparing the preview…"));
  if (watcher_.isRunning())
    return;  // Finished starts the newest path
  Start();
}

void AttachmentPreview::Start() {
  rendering_ = path_;
  watcher_.setFuture(QtConcurrent::run(RenderPreview, rendering_, kPreviewBox));
}

void AttachmentPreview::Finished() {
  if (rendering_ != path_) {
    if (path_.isEmpty())
      return;
    Start();
    return;
  }
  const QImage image = watcher_.result();
  if (image.isNull())
    setText(QStringLiteral("No preview for this file"));
  else
    setPixmap(QPixmap::fromImage(image));
  emit Shown();
}

}  // namespace paylark
