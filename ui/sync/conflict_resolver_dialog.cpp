#include "ui/sync/conflict_resolver_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/base/format.h"
#include "core/records/due_details.h"
#include "core/sync/file_name_times.h"
#include "ui/sync/syncthing_config_reader.h"
#include "ui/widgets/screen_room.h"

namespace paylark {
namespace {

const QColor kDifferenceBackground(255, 232, 170);

// The rows of a version: the details bar's eight, then notes, series and the payment details.
std::vector<std::pair<QString, QString>> RowsOf(const ConflictVersion& version) {
  std::vector<std::pair<QString, QString>> rows;
  DueRecord record = version.record.value_or(DueRecord{});
  for (const DetailRow& row : DueDetails(record)) {
    rows.emplace_back(QString::fromStdString(std::string(row.heading)),
                      version.record ? QString::fromStdString(row.value) : QString());
  }
  rows.emplace_back(QStringLiteral("Notes"), QString::fromStdString(record.notes));
  rows.emplace_back(QStringLiteral("Series"), QString::fromStdString(record.seriesId));
  // Every version shows the payment rows, so that one paid on another day or with another
  // amount stands out.
  rows.emplace_back(
      QStringLiteral("Paid on"),
      record.paidOn ? QString::fromStdString(DateAndTimeText(*record.paidOn)) : QString());
  rows.emplace_back(
      QStringLiteral("Paid amount"),
      record.paidAmount ? QString::fromStdString(FormatAmount(*record.paidAmount)) : QString());
  rows.emplace_back(QStringLiteral("Reference"), QString::fromStdString(record.paymentReference));
  if (!version.record)
    rows.front().second = QString::fromStdString("(" + version.problem + ")");
  return rows;
}

// When and where a copy was made, as its name says: "03/15/2026 10:05 AM · PHONE77", with
// Syncthing's name for the device where its configuration gives one.
QString OriginOf(const std::string& fileName, const std::optional<SyncthingConfig>& syncthing) {
  ConflictCopyOrigin origin = OriginOfConflictCopy(fileName);
  if (syncthing) {
    if (std::string name = SyncthingDeviceName(*syncthing, origin.device); !name.empty())
      origin.device = std::move(name);
  }
  QStringList parts;
  if (origin.made) {
    std::string when = FormatDate(*origin.made, "");
    if (origin.hasTime)
      when += " " + FormatTime(*origin.made, "");
    parts << QString::fromStdString(when);
  }
  if (!origin.device.empty())
    parts << QString::fromStdString(origin.device);
  return parts.join(QStringLiteral(" \u00b7 "));
}

QString HeaderOf(const Conflict& conflict, std::size_t column,
                 const std::optional<SyncthingConfig>& syncthing) {
  if (column == 0)
    return QStringLiteral("This Folder");
  const QString title = conflict.copies.size() == 1
                            ? QStringLiteral("Conflict Copy")
                            : QStringLiteral("Conflict Copy %1").arg(column);
  const QString origin = OriginOf(conflict.copies[column - 1].fileName, syncthing);
  return origin.isEmpty() ? title : title + QLatin1Char('\n') + origin;
}

}  // namespace

ConflictResolverDialog::ConflictResolverDialog(RecordStore& store, std::string setAsideFolder,
                                               QWidget* parent)
    : QDialog(parent),
      store_(store),
      setAsideFolder_(std::move(setAsideFolder)),
      list_(new QListWidget(this)),
      table_(new QTableWidget(this)),
      keepButtons_(new QHBoxLayout),
      note_(new QLabel(this)),
      syncthing_(ReadInstalledSyncthingConfig()) {
  setWindowTitle(QStringLiteral("Sync Conflicts"));
  setObjectName(QStringLiteral("conflictResolver"));
  list_->setObjectName(QStringLiteral("conflicts"));
  table_->setObjectName(QStringLiteral("versions"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setWordWrap(true);
  note_->setWordWrap(true);
  note_->setText(QStringLiteral(
      "Another device changed these dues at the same time as this one. Keep one version of "
      "each; the others are saved in the backups folder."));

  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(table_, 1);
  rightLayout->addLayout(keepButtons_);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(list_);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({180, 560});

  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note_);
  layout->addWidget(splitter, 1);
  layout->addWidget(close);
  FitWindow(*this, QSize(760, 420));

  connect(list_, &QListWidget::currentRowChanged, this, &ConflictResolverDialog::ShowConflict);
  Reload();
}

void ConflictResolverDialog::Reload() {
  auto found = FindConflicts(RecordsFolderPath(store_.workingDirectory()), store_.files());
  conflicts_ = found.ok() ? std::move(found).value() : std::vector<Conflict>();
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const Conflict& conflict : conflicts_) {
    const std::optional<DueRecord>& record = conflict.current.record;
    list_->addItem(record ? QString::fromStdString(record->title)
                          : QString::fromStdString(conflict.recordId));
  }
  list_->setCurrentRow(conflicts_.empty() ? -1 : 0);
  ShowConflict(list_->currentRow());
}

void ConflictResolverDialog::ShowConflict(int index) {
  while (QLayoutItem* item = keepButtons_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  table_->clear();
  if (index < 0 || index >= static_cast<int>(conflicts_.size())) {
    table_->setRowCount(0);
    table_->setColumnCount(0);
    return;
  }
  const Conflict& conflict = conflicts_[static_cast<std::size_t>(index)];
  std::vector<const ConflictVersion*> versions{&conflict.current};
  for (const ConflictVersion& copy : conflict.copies)
    versions.push_back(&copy);

  std::vector<std::vector<std::pair<QString, QString>>> columns;
  columns.reserve(versions.size());
  for (const ConflictVersion* version : versions)
    columns.push_back(RowsOf(*version));
  const int rowCount = static_cast<int>(columns.front().size());
  table_->setRowCount(rowCount);
  table_->setColumnCount(static_cast<int>(versions.size()));
  for (int row = 0; row < rowCount; ++row) {
    const auto r = static_cast<std::size_t>(row);
    bool differs = false;
    for (const auto& column : columns)
      differs = differs || column[r].second != columns.front()[r].second;
    auto* heading = new QTableWidgetItem((differs ? QStringLiteral("\u25B6 ") : QString()) +
                                         columns.front()[r].first);
    QFont font = table_->font();
    font.setBold(differs);
    heading->setFont(font);
    table_->setVerticalHeaderItem(row, heading);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      auto* cell = new QTableWidgetItem(columns[c][r].second);
      cell->setFont(font);
      if (differs)
        cell->setBackground(kDifferenceBackground);
      table_->setItem(row, static_cast<int>(c), cell);
    }
  }
  for (std::size_t c = 0; c < versions.size(); ++c) {
    auto* header = new QTableWidgetItem(HeaderOf(conflict, c, syncthing_));
    header->setToolTip(QString::fromStdString(versions[c]->fileName));
    table_->setHorizontalHeaderItem(static_cast<int>(c), header);
    auto* keep = new QPushButton(QStringLiteral("Keep This Version"), this);
    keep->setObjectName(QStringLiteral("keep%1").arg(c));
    keep->setEnabled(versions[c]->record.has_value());
    const int column = static_cast<int>(c);
    connect(keep, &QPushButton::clicked, this, [this, column] { (void)Keep(column); });
    keepButtons_->addWidget(keep, 1);
  }
}

bool ConflictResolverDialog::Keep(int column) {
  const int index = list_->currentRow();
  if (index < 0 || index >= static_cast<int>(conflicts_.size()))
    return false;
  const Conflict conflict = conflicts_[static_cast<std::size_t>(index)];
  const std::string fileName =
      column == 0 ? conflict.current.fileName
                  : conflict.copies.at(static_cast<std::size_t>(column - 1)).fileName;
  const Status status =
      ResolveConflict(store_, conflict, column == 0 ? "current" : fileName, setAsideFolder_);
  if (!status.ok()) {
    note_->setText(QString::fromStdString(status.message()));
    return false;
  }
  emit Resolved();
  Reload();
  if (conflicts_.empty())
    accept();
  return true;
}

}  // namespace paylark
