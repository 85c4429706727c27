#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QLabel>
#include <QSize>
#include <QString>

namespace paylark {

// A picture of the file fitted into the box: the first page of a PDF (Qt PDF), an image
// (QImageReader, decoded at the fitted size where the format allows), or a null image for
// anything else or a file that does not decode. Safe on any thread.
QImage RenderPreview(const QString& path, QSize box);

// Shows the preview of one file. Rendering runs on a worker thread, so a large file never holds
// the window; a file chosen meanwhile replaces the one being rendered.
class AttachmentPreview final : public QLabel {
  Q_OBJECT

 public:
  explicit AttachmentPreview(QWidget* parent = nullptr);
  ~AttachmentPreview() override;

  // An empty path clears the preview.
  void Show(const QString& path);
  // Whether a rendering is still running (tests wait for it).
  bool Busy() const { return watcher_.isRunning(); }

 signals:
  void Shown();

 private:
  void Start();
  void Finished();

  QFutureWatcher<QImage> watcher_;
  QString path_;       // the file to show
  QString rendering_;  // the file being rendered
};

}  // namespace paylark
