// The Attachments page of the Modify sheet, its preview, and files dropped on list rows.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/attachments/attachment_store.h"
#include "core/sync/backups.h"
#include "tests/ui/editor_fixture.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/attachments/attached_dues.h"
#include "ui/attachments/attachment_preview.h"
#include "ui/attachments/attachments_page.h"
#include "ui/editor/due_sheet.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/sync/folder_watcher.h"
#include "ui/sync/sync_commands.h"

namespace paylark::test {
namespace {

// Files to attach, outside the working directory, and backups that stay in the test's folder.
struct Fixture {
  Fixture() {
    qputenv("XDG_DATA_HOME", (downloads.path() + QStringLiteral("/data")).toUtf8());
    id = ws.AddDue("Water", "City", 40, At(2026, 3, 20));
  }

  QString File(const QString& name, const QByteArray& bytes = "plain text") const {
    QString path = downloads.path() + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
  }

  // A one-page PDF with a red box on it.
  QString Pdf(const QString& name) const {
    QString path = downloads.path() + QLatin1Char('/') + name;
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A5));
    QPainter painter(&writer);
    painter.fillRect(QRect(200, 200, 2000, 1200), Qt::red);
    painter.drawText(QPoint(300, 2000), QStringLiteral("Water bill, March 2026"));
    return path;
  }

  QString Image(const QString& name) const {
    QString path = downloads.path() + QLatin1Char('/') + name;
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    image.save(path);
    return path;
  }

  QString Kept(const QString& name) {
    const AttachmentStore attachments(ws.app.store().files(), ws.app.workingDirectory());
    return QString::fromStdString(attachments.PathOf(id, name.toStdString()));
  }

  Workspace ws;
  QTemporaryDir downloads;
  std::string id;
};

QStringList Names(QListWidget& list) {
  QStringList names;
  for (int row = 0; row < list.count(); ++row)
    names << list.item(row)->data(Qt::UserRole).toString();
  return names;
}

}  // namespace

class AttachmentsTest final : public QObject {
  Q_OBJECT

  // Opens the sheet's Attachments tab on its second file and waits for the preview.
  static void ShowAttachmentsTab(QDialog& dialog) {
    auto& tabs = Child<QTabWidget>(dialog, "tabs");
    QCOMPARE(tabs.tabText(2), QStringLiteral("Attachments"));
    tabs.setCurrentIndex(2);
    dialog.show();
    auto& list = Child<QListWidget>(dialog, "attachments");
    QCOMPARE(list.count(), 2);
    list.setCurrentRow(1);
    auto& preview = Child<AttachmentPreview>(dialog, "preview");
    QTRY_VERIFY_WITH_TIMEOUT(!preview.Busy() && !preview.pixmap().isNull(), 10000);
    Snapshot(dialog, QStringLiteral("attachments-page.png"));
  }

 private slots:
  void AddOpenAndRemoveOnThePage() {
    Fixture f;
    AttachmentsPage page(f.ws.app);
    page.SetRecordId(f.id);
    auto& list = Child<QListWidget>(page, "attachments");
    QCOMPARE(list.count(), 0);
    QVERIFY(!Child<QPushButton>(page, "open").isEnabled());

    f.ws.desktop.openPath = f.File(QStringLiteral("bill.txt"));
    Child<QPushButton>(page, "add").click();
    f.ws.desktop.openPath = f.File(QStringLiteral("bill.txt"), "second");
    Child<QPushButton>(page, "add").click();
    QCOMPARE(Names(list),
             (QStringList{QStringLiteral("bill (2).txt"), QStringLiteral("bill.txt")}));
    QCOMPARE(list.currentItem()->data(Qt::UserRole).toString(), QStringLiteral("bill (2).txt"));

    Child<QPushButton>(page, "open").click();
    QCOMPARE(f.ws.desktop.opened, QStringList{f.Kept(QStringLiteral("bill (2).txt"))});
    QVERIFY(f.ws.prompt.asked.isEmpty());
    // Regression: with no program for the type, Open did nothing and said nothing.
    f.ws.desktop.canOpen = false;
    Child<QPushButton>(page, "open").click();
    QCOMPARE(f.ws.desktop.opened.size(), 1);
    QCOMPARE(f.ws.prompt.asked,
             QStringList{QStringLiteral("No program on this computer is set up to open \"bill "
                                        "(2).txt\". The file is in ") +
                         QFileInfo(f.Kept(QStringLiteral("bill (2).txt"))).absolutePath()});
    f.ws.prompt.asked.clear();

    // No keeps the file; Yes moves it into the backups folder.
    f.ws.prompt.answers = {PromptAnswer::kNo};
    Child<QPushButton>(page, "remove").click();
    QCOMPARE(list.count(), 2);
    f.ws.prompt.answers = {PromptAnswer::kYes};
    Child<QPushButton>(page, "remove").click();
    QCOMPARE(f.ws.prompt.asked.last(),
             Text(Message{MessageId::kConfirmRemoveAttachment, "bill (2).txt", 0, {}}));
    QCOMPARE(Names(list), QStringList{QStringLiteral("bill.txt")});
    const QString removed = QString::fromStdString(BackupsFolder(f.ws.app.workingDirectory())) +
                            QStringLiteral("/Removed attachments/") + QString::fromStdString(f.id) +
                            QStringLiteral("/bill (2).txt");
    QVERIFY(QFile::exists(removed));
  }

  void DroppedFilesAreAttachedAndBadOnesTold() {
    Fixture f;
    AttachmentsPage page(f.ws.app);
    page.resize(600, 400);
    page.SetRecordId(f.id);
    QSignalSpy changed(&page, &AttachmentsPage::AttachmentsChanged);
    DropFiles(page, QPoint(20, 20), {f.File(QStringLiteral("a.txt")), f.downloads.path()});
    QCOMPARE(Names(Child<QListWidget>(page, "attachments")), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(changed.count(), 1);
    const QString folderName = QDir(f.downloads.path()).dirName();
    QCOMPARE(f.ws.prompt.asked.size(), 1);
    QCOMPARE(f.ws.prompt.asked.last(),
             Text(Message{
                 MessageId::kAttachFailed,
                 {},
                 0,
                 "\"" + folderName.toStdString() + "\" is a folder; only files can be attached"}));
  }

  void PreviewsShowPdfPagesAndImagesOnly() {
    Fixture f;
    const QImage page = RenderPreview(f.Pdf(QStringLiteral("bill.pdf")), QSize(240, 300));
    QVERIFY(!page.isNull());
    QVERIFY(page.width() <= 240 && page.height() <= 300);
    QCOMPARE(page.pixelColor(page.width() / 6, page.height() / 12), QColor(Qt::red));  // the box
    QCOMPARE(page.pixelColor(page.width() / 2, page.height() / 2), QColor(Qt::white));
    const QImage photo = RenderPreview(f.Image(QStringLiteral("receipt.png")), QSize(240, 300));
    QCOMPARE(photo.size(), QSize(240, 180));
    QVERIFY(RenderPreview(f.File(QStringLiteral("notes.txt")), QSize(240, 300)).isNull());
    QVERIFY(RenderPreview(f.File(QStringLiteral("broken.pdf"), "%PDF-1.4 junk"), QSize(240, 300))
                .isNull());
  }

  void FilesDroppedOnARowGoToThatDueAndShowAPaperclip() {
    Fixture f;
    const std::string other = f.ws.AddDue("Power", "Grid", 60, At(2026, 3, 25));
    FakeDialogs dialogs;
    MainWindow window(f.ws.app, dialogs);
    AttachedDues attached(f.ws.app, window);
    window.resize(900, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    MonthListView& view = window.view();
    int row = -1;
    for (int i = 0; i < view.model().rowCount(); ++i) {
      if (view.model().RecordAt(i)->recordId == other)
        row = i;
    }
    QVERIFY(row >= 0);
    const QPoint center = view.visualRect(view.model().index(row)).center();
    DropFiles(*view.viewport(), center, {f.Image(QStringLiteral("meter.png"))});
    const AttachmentStore attachments(f.ws.app.store().files(), f.ws.app.workingDirectory());
    QCOMPARE(attachments.List(other).value().size(), std::size_t{1});
    QVERIFY(attachments.List(f.id).value().empty());
    QCOMPARE(view.attachedRecords(), std::set<std::string>{other});
    Snapshot(window, QStringLiteral("attachments-paperclip.png"));

    // Another process's attachment shows up by itself.
    QDir().mkpath(f.Kept(QString()));
    QFile::copy(f.File(QStringLiteral("x.txt")), f.Kept(QStringLiteral("x.txt")));
    QTRY_COMPARE_WITH_TIMEOUT(view.attachedRecords(), (std::set<std::string>{f.id, other}), 5000);
  }

  // The first attachment of another process brings the Attachments folder itself: the sync
  // watcher's look at the records folder finds it.
  void AnAttachmentsFolderMadeElsewhereShowsItsPaperclips() {
    Fixture f;
    FakeDialogs dialogs;
    MainWindow window(f.ws.app, dialogs);
    AttachedDues attached(f.ws.app, window);
    FolderWatcher watcher;
    SyncCommands wiring(f.ws.app, window, watcher);
    QSignalSpy added(&wiring.watcher(), &FolderWatcher::Added);
    window.show();
    QVERIFY(!added.isEmpty() || added.wait(5000));
    QVERIFY(!QFileInfo::exists(f.Kept(QString())));
    QDir().mkpath(f.Kept(QString()));
    QFile::copy(f.File(QStringLiteral("x.txt")), f.Kept(QStringLiteral("x.txt")));
    QTRY_COMPARE_WITH_TIMEOUT(window.view().attachedRecords(), std::set<std::string>{f.id}, 5000);
  }

  void TheModifySheetShowsTheAttachmentsPage() {
    Fixture f;
    AttachmentStore attachments(f.ws.app.store().files(), f.ws.app.workingDirectory());
    QVERIFY(attachments.Add(f.id, f.Pdf(QStringLiteral("water bill.pdf")).toStdString()).ok());
    QVERIFY(attachments.Add(f.id, f.Image(QStringLiteral("meter.png")).toStdString()).ok());
    bool shown = false;
    DueSheet sheet(f.ws.app, SheetMode::kModify, nullptr, [&](QDialog& dialog) {
      ShowAttachmentsTab(dialog);
      shown = true;
      return int(QDialog::Rejected);
    });
    sheet.record() = f.ws.app.store().Get(f.id);
    QVERIFY(!sheet.Run());
    QVERIFY(shown);
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::AttachmentsTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "attachments_test.moc"
