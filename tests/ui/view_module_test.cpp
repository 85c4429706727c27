// The window's charts, PDF pages and print preview come from a module, and so does what reaches
// servers: this test is linked as paylark is (the window without them, its symbols exported) and
// sits beside the modules in the build folder, as paylark does.
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>
#include <optional>

#include "core/records/record_store.h"
#include "remote/remote_module.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/app/view_module.h"
#include "ui/attachments/attachment_preview.h"
#include "ui/base/print_preview.h"
#include "ui/shell/series_history_window.h"
#include "ui/shell/year_overview.h"

namespace paylark::test {
namespace {

constexpr const char* kModuleLibraries[] = {"paylark-views.so", "libQt6Charts", "libQt6Pdf",
                                            "libQt6PrintSupport"};
constexpr const char* kRemoteLibraries[] = {"paylark-remote.so", "libQt6Network", "libqt6keychain"};
// A port nothing listens on.
constexpr char kNobody[] = "http://127.0.0.1:9";

QByteArray MappedLibraries() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  maps.open(QIODevice::ReadOnly);
  return maps.readAll();
}

}  // namespace

class ViewModuleTest final : public QObject {
  Q_OBJECT

 private slots:
  // Nothing of the servers' module is mapped until a server is reached; then it answers.
  void ServersAreReachedThroughTheirModule() {
    for (const char* library : kRemoteLibraries)
      QVERIFY2(!MappedLibraries().contains(library), library);

    CalendarSyncRequest request;
    request.url = QString::fromLatin1(kNobody);
    request.mode = SyncMode::kDryRun;
    QVERIFY(!SyncCalendar({}, request).failure.isEmpty());
    for (const char* library : kRemoteLibraries)
      QVERIFY2(MappedLibraries().contains(library), library);

    std::optional<SyncthingReply> reply;
    QObject receiver;
    SendSyncthingRequest({kNobody, "key", "default", "/nowhere"}, QStringLiteral("/rest/db/status"),
                         "GET", 1000, &receiver,
                         [&reply](const SyncthingReply& got) { reply = got; });
    QTRY_VERIFY(reply.has_value());
    QVERIFY(reply->notRunning);

    std::optional<Result<QString>> secret;
    ReadSecretLater({QStringLiteral("/nonexistent/secret"), QStringLiteral("key")}, &receiver,
                    [&secret](const Result<QString>& got) { secret = got; });
    QTRY_VERIFY(secret.has_value());
    QVERIFY(!secret->ok());
  }

  // Nothing of the module is mapped until a window of it opens; then each opens from it.
  void TheChartsArriveWithTheFirstWindowOpened() {
    for (const char* library : kModuleLibraries)
      QVERIFY2(!MappedLibraries().contains(library), library);

    Workspace ws;
    const std::string id = ws.AddDue("Power", "City", 92.4, At(2026, 3, 20), false, "series1");
    Result<std::unique_ptr<ForecastView>> forecast =
        MakeForecastWindow(ws.app.store(), ws.clock, ws.prompt, nullptr);
    QVERIFY(forecast.ok());
    QVERIFY(forecast.value()->findChild<QWidget*>(QStringLiteral("chart")) != nullptr);
    for (const char* library : kModuleLibraries)
      QVERIFY2(MappedLibraries().contains(library), library);

    Status shown;
    QCOMPARE(ModalTitleOf([&] { shown = RunYearOverview(ws.app.store(), 2026, nullptr); }),
             QStringLiteral("Year Overview"));
    QVERIFY(shown.ok());
    QCOMPARE(ModalTitleOf([&] { shown = RunSeriesHistory({ws.app.store().Get(id)}, nullptr); }),
             QStringLiteral("Series History - Power"));
    QVERIFY(shown.ok());
    int pages = 0;
    QCOMPARE(ModalTitleOf([&] {
               shown = RunPrintPreview(nullptr, QStringLiteral("Print Preview"),
                                       [&](QPagedPaintDevice*) { ++pages; });
             }),
             QStringLiteral("Print Preview"));
    QVERIFY(shown.ok());
    QVERIFY(pages > 0);
  }

  // The attachment preview draws a PDF's first page through the module, on the worker thread it
  // renders on; run on its own, this test has that thread load the module.
  void APdfPageIsDrawnThroughTheModule() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bill.pdf"));
    {
      QPdfWriter writer(path);
      QPainter painter(&writer);
      painter.fillRect(QRect(0, 0, 20000, 20000), Qt::red);
    }
    const QImage page = QtConcurrent::run(RenderPreview, path, QSize(240, 300)).result();
    QVERIFY(!page.isNull());
    QCOMPARE(page.pixelColor(page.width() / 2, page.height() / 2), QColor(Qt::red));
  }

  void AModuleThatCannotBeLoadedIsToldNotFollowed() {
    const std::string gone = QDir::tempPath().toStdString() + "/gone.so";
    const Result<const ViewModule*> missing = OpenModuleTable<ViewModule>({gone}, kViewModule);
    QVERIFY(!missing.ok());
    QVERIFY(QString::fromStdString(missing.status().message())
                .startsWith(QStringLiteral("the charts, PDF and printing module could not be "
                                           "loaded: ")));
    const Result<const RemoteModule*> missingRemote =
        OpenModuleTable<RemoteModule>({gone}, kRemoteModule);
    QVERIFY(!missingRemote.ok());
    QVERIFY(QString::fromStdString(missingRemote.status().message())
                .startsWith(QStringLiteral("the module that reaches servers and the desktop could "
                                           "not be loaded: ")));
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::ViewModuleTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "view_module_test.moc"
