#include "ui/base/resources.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <memory>
#include <mutex>
#include <vector>

// The resource initialiser must be called from the global namespace.
static void InitPaylarkQrc() {
  Q_INIT_RESOURCE(paylark);
}

namespace paylark {

// One icon's picture, shared by the copies Qt makes of the icon and parsed once: when first drawn
// or measured, or before on a worker thread, whichever comes first.
class SvgPicture {
 public:
  explicit SvgPicture(QString path) : path_(std::move(path)) {}

  const QString& path() const { return path_; }
  // The renderer belongs to `user`, the thread that draws with it and deletes it.
  void Parse(QThread* user) {
    const std::lock_guard lock(mutex_);
    if (renderer_)
      return;
    renderer_ = std::make_shared<QSvgRenderer>(path_);
    renderer_->moveToThread(user);
  }
  QSvgRenderer& Renderer() {
    Parse(QThread::currentThread());
    return *renderer_;  // set once, never again
  }

 private:
  QString path_;
  std::mutex mutex_;
  std::shared_ptr<QSvgRenderer> renderer_;
};

namespace {

// The pictures SvgIcon makes on this thread go here while an IconsParsedAhead collects them.
std::vector<std::shared_ptr<SvgPicture>>*& CollectedPictures() {
  thread_local std::vector<std::shared_ptr<SvgPicture>>* pictures = nullptr;
  return pictures;
}

// An SVG icon read when it is first drawn or measured: reading parses the whole picture, and
// most of the icons made with the window sit in menus that may never open. It is parsed once and
// drawn at every size and mode from that, where Qt's SVG icon parses the file again for each
// (and once more when it is made); the pixmaps are the same as Qt's, pixel for pixel.
class DeferredSvgIconEngine final : public QIconEngine {
 public:
  explicit DeferredSvgIconEngine(std::shared_ptr<SvgPicture> picture)
      : picture_(std::move(picture)) {}

  // QIcon::paint has fitted and centred `rect` already.
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) override {
    const QString key = QStringLiteral("paylark-svg %1 %2x%3 %4")
                            .arg(picture_->path())
                            .arg(size.width())
                            .arg(size.height())
                            .arg(static_cast<int>(mode));
    QPixmap drawn;
    if (QPixmapCache::find(key, &drawn))
      return drawn;
    const QSize fitted = Fitted(size);
    if (!fitted.isValid())
      return drawn;
    QImage image(fitted, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Renderer().render(&painter);
    painter.end();
    drawn = QPixmap::fromImage(std::move(image));
    QStyleOption option(0);
    option.palette = QGuiApplication::palette();
    const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
    if (!generated.isNull())
      drawn = generated;
    QPixmapCache::insert(key, drawn);
    return drawn;
  }
  QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
    return Fitted(size);
  }
  QIconEngine* clone() const override { return new DeferredSvgIconEngine(*this); }
  QString key() const override { return QStringLiteral("paylark-deferred-svg"); }

 private:
  DeferredSvgIconEngine(const DeferredSvgIconEngine& other)
      : QIconEngine(other), picture_(other.picture_) {}

  // The picture's own size scaled into `size`; invalid when the file does not parse or nothing of
  // it would show.
  QSize Fitted(const QSize& size) {
    if (!Renderer().isValid())
      return {};
    QSize fitted = Renderer().defaultSize();
    if (!fitted.isNull())
      fitted.scale(size, Qt::KeepAspectRatio);
    return fitted.isEmpty() ? QSize() : fitted;
  }
  QSvgRenderer& Renderer() { return picture_->Renderer(); }

  std::shared_ptr<SvgPicture> picture_;
};

}  // namespace

void InitResources() {
  InitPaylarkQrc();
}

QString SvgPath(const QString& name) {
  return QStringLiteral(":/icons/") + name + ".svg";
}

QIcon SvgIcon(const QString& name) {
  QString path = SvgPath(name);
  if (!QFile::exists(path))
    return {};
  auto picture = std::make_shared<SvgPicture>(std::move(path));
  if (CollectedPictures())
    CollectedPictures()->push_back(picture);
  return QIcon(new DeferredSvgIconEngine(std::move(picture)));
}

IconsParsedAhead::IconsParsedAhead() {
  CollectedPictures() = &pictures_;
}

IconsParsedAhead::~IconsParsedAhead() {
  if (CollectedPictures() == &pictures_)
    CollectedPictures() = nullptr;
}

void IconsParsedAhead::ParseOnWorker() {
  CollectedPictures() = nullptr;
  (void)QtConcurrent::run(
      [](const std::vector<std::weak_ptr<SvgPicture>>& pictures, QThread* user) {
        for (const std::weak_ptr<SvgPicture>& picture : pictures) {
          if (const std::shared_ptr<SvgPicture> alive = picture.lock())
            alive->Parse(user);
        }
      },
      std::vector<std::weak_ptr<SvgPicture>>(pictures_.begin(), pictures_.end()),
      QThread::currentThread());
  pictures_.clear();
}

}  // namespace paylark
