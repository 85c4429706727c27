#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <string>

class QWidget;

namespace paylark {

class PaylarkApp;

// The local files among dropped URLs, in their order.
QStringList LocalFiles(const QList<QUrl>& urls);

// Attaches the files to the due, in order, and gives the names they are kept under. The files
// that cannot be attached are told in one message, each named with its reason; the others are
// kept.
QStringList AttachFiles(PaylarkApp& app, QWidget* parent, const std::string& recordId,
                        const QStringList& paths);

}  // namespace paylark
