#pragma once

#include <QString>
#include <QTextDocument>
#include <string_view>

class QPagedPaintDevice;

namespace paylark {

// The rendered print page as the preview shows and prints it. Pictures named relatively in the
// page are found in the folder the page was written to.
class PrintPreviewDocument final {
 public:
  PrintPreviewDocument() = default;
  PrintPreviewDocument(const PrintPreviewDocument&) = delete;
  PrintPreviewDocument& operator=(const PrintPreviewDocument&) = delete;

  // Takes the page's UTF-8 bytes.
  void Load(std::string_view html, const QString& folder);
  // Lays the page out for the printer's paper before drawing it, so every change of paper or
  // orientation in the preview is honoured (and no page numbers are added).
  void Paint(QPagedPaintDevice* printer);

  const QTextDocument& document() const { return document_; }

 private:
  QTextDocument document_;
};

}  // namespace paylark
