#include "ui/base/resources.h"

#include <QFile>
#include <QIconEngine>
#include <optional>

// The resource initialiser must be called from the global namespace.
static void InitPaylarkQrc() {
  Q_INIT_RESOURCE(paylark);
}

namespace paylark {
namespace {

// An SVG icon read when it is first drawn or measured: reading parses the whole picture, and
// most of the icons made with the window sit in menus that may never open.
class DeferredSvgIconEngine final : public QIconEngine {
 public:
  explicit DeferredSvgIconEngine(QString path) : path_(std::move(path)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Loaded().pixmap(size, 1.0, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Loaded().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Loaded().availableSizes(mode, state);
  }
  QIconEngine* clone() const override { return new DeferredSvgIconEngine(path_); }
  QString key() const override { return QStringLiteral("paylark-deferred-svg"); }

 private:
  const QIcon& Loaded() {
    if (!icon_)
      icon_.emplace(path_);
    return *icon_;
  }

  QString path_;
  std::optional<QIcon> icon_;
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
  return QFile::exists(path) ? QIcon(new DeferredSvgIconEngine(std::move(path))) : QIcon();
}

}  // namespace paylark
