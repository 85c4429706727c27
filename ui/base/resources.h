#pragma once

#include <QIcon>
#include <QString>
#include <memory>
#include <vector>

namespace paylark {

class SvgPicture;

// Registers the compiled-in pictures; call once after the QApplication exists.
void InitResources();

// The picture resources/icons/<name>.svg as an icon; a null icon when it is missing.
QIcon SvgIcon(const QString& name);
// Its resource path, for painting with QSvgRenderer.
QString SvgPath(const QString& name);

// Collects the icons SvgIcon makes on this thread while it lives, and has those not drawn yet
// parsed one after another on a worker thread when asked: the start collects the window's icons
// while the window is made and has them parsed while it is shown, so that its first paint finds
// them ready. An icon drawn first is parsed where it is drawn, and only once.
class IconsParsedAhead {
 public:
  IconsParsedAhead();
  ~IconsParsedAhead();
  IconsParsedAhead(const IconsParsedAhead&) = delete;
  IconsParsedAhead& operator=(const IconsParsedAhead&) = delete;

  // Ends the collecting.
  void ParseOnWorker();

 private:
  std::vector<std::shared_ptr<SvgPicture>> pictures_;
};

}  // namespace paylark
