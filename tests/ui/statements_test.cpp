#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <future>

#include "settings/statement_settings.h"
#include "settings/user_settings.h"
#include "tests/core/statements/household_year.h"
#include "tests/ui/fakes.h"
#include "tests/ui/test_runner.h"
#include "ui/shell/commands.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_view.h"
#include "ui/statements/statement_columns_dialog.h"
#include "ui/statements/statement_import_command.h"
#include "ui/statements/statement_preview_dialog.h"
#include "ui/statements/statement_reader.h"
#include "ui/statements/statement_summary_text.h"

namespace paylark::test {
namespace {

using Role = StatementColumnsDialog::Role;
using Section = StatementPreviewDialog::Section;

StatementTransaction Booking(const std::string& id, const OleDateTime& on, Cents amount,
                             const std::string& counterparty, const std::string& memo = {}) {
  StatementTransaction booking;
  booking.id = id;
  booking.bookingDate = on;
  booking.amount = amount;
  booking.counterparty = counterparty;
  booking.memo = memo;
  return booking;
}

// A German bank's export: the header's names tell the date, amount, payee and purpose.
BankCsvShape GermanShape() {
  BankCsvShape shape;
  shape.separator = ';';
  shape.decimalMark = ',';
  shape.dateForm = "dd.mm.yyyy";
  shape.headerLine = "Buchungstag;Valuta;Auftraggeber/Empfänger;Verwendungszweck;Betrag;Referenz";
  shape.header = {"Buchungstag",      "Valuta", "Auftraggeber/Empfänger",
                  "Verwendungszweck", "Betrag", "Referenz"};
  shape.sampleRows = {
      {"01.03.2026", "01.03.2026", "Hausverwaltung Meier", "Miete März", "-850,00", "R-1"},
      {"06.03.2026", "06.03.2026", "Stadtwerke", "Abschlag Strom", "-92,10", "R-2"},
      {"09.03.2026", "09.03.2026", "Bäckerei Korn", "Kartenzahlung", "-12,30", "R-3"}};
  shape.guessedColumns.date = 0;
  shape.guessedColumns.counterparty = 2;
  shape.guessedColumns.description = 3;
  shape.guessedColumns.amount = 4;
  return shape;
}

// The statement core as a test wants it: what each step gives, and what it was asked.
struct FakeCore {
  StatementServices Services() {
    StatementServices services;
    services.detectFormat = [this](std::string_view) { return format; };
    services.detectCsvShape = [this](std::string_view text) -> Result<BankCsvShape> {
      shapeTexts.emplace_back(text);
      return shape;
    };
    services.read = [this](const std::string& path, StatementFormat,
                           const std::optional<BankCsvColumns>& columns) -> Result<Statement> {
      readPaths.push_back(path);
      readColumns.push_back(columns);
      if (!readFailure.empty())
        return Status::Corrupt(readFailure);
      return statement;
    };
    services.accounts = [this](const Statement&) { return accounts; };
    services.match = [this](const Statement& statement) {
      matchedAccounts.push_back(statement.account);
      return matching;
    };
    services.balanceEntered = [this](const Statement&) { return balanceEntered; };
    services.import = [this](const Statement& statement, const StatementImportChoice& choice,
                             const std::string& source,
                             const Progress& progress) -> Result<StatementImportSummary> {
      choices.push_back(choice);
      sources.push_back(source);
      importedAccounts.push_back(statement.account);
      const std::size_t count = choice.accepted.size() + choice.addAsPaid.size();
      for (std::size_t done = 1; done <= count; ++done) {
        Report(progress, done, count);
        if (done == 1)
          progressShown = whileImporting && whileImporting();
      }
      if (!importFailure.empty())
        return Status::IoError(importFailure);
      return StatementImportSummary{choice.accepted.size(), choice.addAsPaid.size(),
                                    choice.writeClosingBalance};
    };
    return services;
  }

  std::optional<StatementFormat> format = StatementFormat::kOfx;
  Result<BankCsvShape> shape = GermanShape();
  Statement statement;
  std::vector<std::string> accounts = {"Checking", "Savings"};
  StatementMatching matching;
  bool balanceEntered = false;
  std::string readFailure;
  std::string importFailure;
  std::function<bool()> whileImporting;

  std::vector<std::string> shapeTexts;
  std::vector<std::string> readPaths;
  std::vector<std::optional<BankCsvColumns>> readColumns;
  std::vector<StatementImportChoice> choices;
  std::vector<std::string> sources;
  std::vector<std::string> matchedAccounts;
  std::vector<std::string> importedAccounts;
  bool progressShown = false;
};

// March 2026's dues of the Checking account, and a statement of the month that pays the rent
// surely, the power possibly, and holds a bakery purchase, a salary and one booking imported
// before; the phone bill stays unpaid.
struct Fixture {
  Fixture() {
    rent = ws.AddDue("Rent", "Hausverwaltung Meier", 850, At(2026, 3, 1, 9));
    power = ws.AddDue("Electricity", "Stadtwerke", 92.40, At(2026, 3, 5, 12));
    phone = ws.AddDue("Phone", "Telco", 35, At(2026, 3, 20));
    Statement& statement = core.statement;
    statement.account = "Checking";
    statement.bankAccount = "123456789";
    statement.periodStart = At(2026, 3, 1);
    statement.periodEnd = At(2026, 3, 31);
    statement.closingBalance = StatementBalance{At(2026, 3, 31), 124000};
    statement.transactions = {
        Booking("R-1", At(2026, 3, 1), -85000, "Hausverwaltung Meier", "Miete März"),
        Booking("R-2", At(2026, 3, 6), -9210, "Stadtwerke", "Abschlag Strom"),
        Booking("R-3", At(2026, 3, 9), -1230, "Bäckerei Korn", "Kartenzahlung"),
        Booking("R-4", At(2026, 3, 25), 150000, "Acme GmbH", "Gehalt März"),
        Booking("R-0", At(2026, 2, 27), -3500, "Telco", "Februar")};
    core.matching.matches = {{0, rent, 0.98, true, {0, 85000, 0, MatchEvidence::kName, {}, {}}},
                             {1, power, 0.71, false, {-30, 9240, 1, MatchEvidence::kNone, {}, {}}}};
    core.matching.unmatched = {2, 3};
    core.matching.alreadyImported = {4};
    core.matching.stillUnpaid = {phone};
  }

  std::unique_ptr<MainWindow> Window() {
    auto window = std::make_unique<MainWindow>(ws.app, dialogs);
    window->resize(1000, 640);
    window->show();
    return window;
  }

  QString WriteFile(const QString& name, const QByteArray& bytes) {
    QString path = ws.directory() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
      qFatal("cannot write %s", qPrintable(path));
    return path;
  }

  StatementPreviewDialog Preview() {
    return StatementPreviewDialog(QStringLiteral("march.ofx"), core.statement, core.matching,
                                  ws.app.store().map(), core.accounts);
  }

  Workspace ws;
  FakeDialogs dialogs;
  FakeCore core;
  std::string rent;
  std::string power;
  std::string phone;
};

QStringList RowTexts(const QTreeWidgetItem& row) {
  QStringList texts;
  for (int column = 0; column < row.columnCount(); ++column)
    texts << row.text(column);
  return texts;
}

StatementImportCommand::Dialogs Answers(std::function<bool(StatementColumnsDialog&)> columns,
                                        std::function<bool(StatementPreviewDialog&)> preview) {
  return {std::move(columns), std::move(preview)};
}

// The fake core's services, with a read that waits until `release` is set.
StatementServices HeldRead(FakeCore& core, std::promise<void>& release) {
  StatementServices services = core.Services();
  services.read = [read = services.read, released = release.get_future().share()](
                      const std::string& path, StatementFormat format,
                      const std::optional<BankCsvColumns>& columns) {
    released.wait();
    return read(path, format, columns);
  };
  return services;
}

// Runs `act` once the window shows the statement's progress dialog; a timer looks for it while
// the import waits for its read.
void WhenReading(QWidget& window, std::function<void(QProgressDialog&)> act) {
  auto* look = new QTimer(&window);
  look->setInterval(5);
  QObject::connect(look, &QTimer::timeout, &window, [look, &window, act = std::move(act)] {
    auto* progress = window.findChild<QProgressDialog*>();
    if (!progress || !progress->isVisible())
      return;
    look->deleteLater();
    look->stop();
    act(*progress);
  });
  look->start();
}

}  // namespace

class StatementsTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() { UseFreshSettings(); }

  void TheColumnsArePresetFromTheHeaderAndRememberedPerHeaderLine() {
    Fixture f;
    f.core.format = StatementFormat::kCsv;
    const QString path = f.WriteFile(QStringLiteral("umsatz.csv"), "Buchungstag;Betrag\r\n");
    auto window = f.Window();
    std::vector<BankCsvColumns> shown;
    StatementImportCommand command(f.ws.app, *window, f.core.Services(),
                                   Answers(
                                       [&shown](StatementColumnsDialog& dialog) {
                                         shown.push_back(dialog.columns());
                                         dialog.combo(Role::kDescription).setCurrentIndex(0);
                                         dialog.combo(Role::kReference).setCurrentIndex(6);
                                         return true;
                                       },
                                       [](StatementPreviewDialog&) { return false; }));
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0], GermanShape().guessedColumns);
    QCOMPARE(f.core.shapeTexts, std::vector<std::string>{"Buchungstag;Betrag\r\n"});
    const BankCsvColumns chosen{0, 4, {}, {}, 2, {}, 5, {}};
    QCOMPARE(f.core.readColumns.back(), std::optional<BankCsvColumns>(chosen));
    QCOMPARE(RememberedBankCsvColumns(GermanShape().headerLine),
             std::optional<BankCsvColumns>(chosen));

    // The next file with the same header starts from what was chosen.
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(shown.back(), chosen);
    // A remembered text that no longer makes sense gives way to the header's names.
    BankCsvColumns outside = chosen;
    outside.reference = 40;
    RememberBankCsvColumns(GermanShape().headerLine, outside);
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(shown.back(), GermanShape().guessedColumns);
    // A file with another header starts from its own names again.
    BankCsvShape other = GermanShape();
    other.headerLine += ";Saldo";
    f.core.shape = other;
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(shown.back(), GermanShape().guessedColumns);
  }

  void OkWaitsUntilTheDateAndTheMoneyAreChosen() {
    StatementColumnsDialog dialog(QStringLiteral("umsatz.csv"), GermanShape(), BankCsvColumns{});
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("shape"))->text(),
             QStringLiteral("Separator: semicolon · Decimal mark: comma · Dates: dd.mm.yyyy"));
    auto& sample = *dialog.findChild<QTableWidget*>(QStringLiteral("sample"));
    QCOMPARE(sample.rowCount(), 3);
    QCOMPARE(sample.horizontalHeaderItem(4)->text(), QStringLiteral("5: Betrag"));
    QCOMPARE(sample.horizontalHeaderItem(0)->text(), QStringLiteral("1: Buchungstag"));
    QCOMPARE(sample.item(1, 4)->text(), QStringLiteral("-92,10"));
    QVERIFY(!dialog.okButton().isEnabled());
    QCOMPARE(dialog.hint().text(),
             QStringLiteral("Choose the column that holds the booking date."));
    // Keyboard: Alt+D reaches the date, the arrow keys choose its column.
    QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), &dialog.combo(Role::kDate));
    QTest::keyClick(&dialog.combo(Role::kDate), Qt::Key_Down);
    QCOMPARE(dialog.columns().date, std::optional<int>(0));
    QVERIFY(!dialog.okButton().isEnabled());
    dialog.combo(Role::kDebit).setCurrentIndex(5);
    QVERIFY(!dialog.okButton().isEnabled());
    dialog.combo(Role::kCredit).setCurrentIndex(6);
    QVERIFY(dialog.okButton().isEnabled());
    QVERIFY(dialog.hint().isHidden());
    dialog.combo(Role::kAmount).setCurrentIndex(5);
    QVERIFY(!dialog.okButton().isEnabled());
    QCOMPARE(dialog.hint().text(),
             QStringLiteral("Choose either one amount column or a debit and a credit column."));
    dialog.combo(Role::kDebit).setCurrentIndex(0);
    dialog.combo(Role::kCredit).setCurrentIndex(0);
    QVERIFY(dialog.okButton().isEnabled());
    dialog.combo(Role::kCounterparty).setCurrentIndex(5);
    QCOMPARE(dialog.hint().text(), QStringLiteral("A column can hold one thing only."));
    QCOMPARE(sample.horizontalHeaderItem(4)->text(),
             QStringLiteral("5: Betrag [Amount, Counterparty]"));
    QCOMPARE(sample.horizontalHeaderItem(0)->text(), QStringLiteral("1: Buchungstag [Date]"));
    QVERIFY(!dialog.okButton().isEnabled());

    StatementColumnsDialog preset(QStringLiteral("umsatz.csv"), GermanShape(),
                                  GermanShape().guessedColumns);
    preset.show();
    QVERIFY(preset.okButton().isEnabled());
    QCOMPARE(preset.combo(Role::kCounterparty).currentText(),
             QStringLiteral("3: Auftraggeber/Empfänger"));
    // An amount without sign and its S/H column: the mark goes through the step.
    preset.combo(Role::kReference).setCurrentIndex(0);
    preset.combo(Role::kDebitCreditMark).setCurrentIndex(6);
    QVERIFY(preset.okButton().isEnabled());
    QCOMPARE(preset.columns().debitCreditMark, std::optional<int>(5));
    Snapshot(preset, QStringLiteral("statement-columns.png"));
    Snapshot(preset, QStringLiteral("statement-columns-2x.png"), 2);
  }

  void ThePreviewSortsTheTransactionsByWhatImportingThemDoes() {
    Fixture f;
    StatementPreviewDialog preview = f.Preview();
    preview.show();
    preview.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    QCOMPARE(preview.accountBox().currentText(), QStringLiteral("Checking"));
    QCOMPARE(preview.bankAccountLine().text(), QStringLiteral("Bank account 123456789"));
    QVERIFY(preview.accountNote().isHidden());
    QCOMPARE(preview.periodLine().text(),
             QStringLiteral("Period: 1 Mar 2026 – 31 Mar 2026 (5 transactions)"));
    QCOMPARE(preview.balanceBox().text(),
             QStringLiteral("&Set the balance of Checking to $1,240.00 on 31 Mar 2026"));
    QVERIFY(preview.balanceBox().isChecked());

    QTreeWidgetItem& sure = preview.section(Section::kSure);
    QCOMPARE(sure.text(0), QStringLiteral("Sure matches: mark these dues paid (1)"));
    QCOMPARE(RowTexts(*sure.child(0)),
             (QStringList{"1 Mar 2026", "Hausverwaltung Meier · Miete März", "-$850.00", "Rent",
                          "1 Mar 2026", "$850.00"}));
    QCOMPARE(sure.child(0)->checkState(0), Qt::Checked);
    QTreeWidgetItem& possible = preview.section(Section::kPossible);
    QCOMPARE(possible.childCount(), 1);
    QCOMPARE(possible.child(0)->text(3), QStringLiteral("Electricity"));
    QCOMPARE(possible.child(0)->checkState(0), Qt::Unchecked);
    QTreeWidgetItem& unmatched = preview.section(Section::kUnmatched);
    QCOMPARE(unmatched.childCount(), 2);
    QCOMPARE(unmatched.child(1)->text(2), QStringLiteral("$1,500.00"));
    QCOMPARE(unmatched.child(1)->text(3), QStringLiteral("Add as a paid due"));
    QCOMPARE(unmatched.child(1)->checkState(0), Qt::Unchecked);
    QTreeWidgetItem& unpaid = preview.section(Section::kStillUnpaid);
    QCOMPARE(RowTexts(*unpaid.child(0)),
             (QStringList{"", "", "", "Phone", "20 Mar 2026", "$35.00"}));
    QCOMPARE(unpaid.child(0)->data(0, Qt::CheckStateRole), QVariant());
    QTreeWidgetItem& before = preview.section(Section::kAlreadyImported);
    QCOMPARE(before.child(0)->text(1), QStringLiteral("Telco · Februar"));
    QVERIFY(!before.child(0)->flags().testFlag(Qt::ItemIsEnabled));
    QVERIFY(!before.child(0)->flags().testFlag(Qt::ItemIsUserCheckable));
    QVERIFY(preview.importButton().isEnabled());
    Snapshot(preview, QStringLiteral("statement-preview.png"));
    Snapshot(preview, QStringLiteral("statement-preview-2x.png"), 2);

    // Keyboard: Space checks the current row.
    QTreeWidget& tree = preview.tree();
    QCOMPARE(QApplication::focusWidget(), &tree);
    tree.setCurrentItem(possible.child(0));
    QTest::keyClick(&tree, Qt::Key_Space);
    QCOMPARE(possible.child(0)->checkState(0), Qt::Checked);
    QCOMPARE(preview.reasonLine().text(),
             QStringLiteral("Why: amount 0.3% less · 1 day late · no name in common"));
    tree.setCurrentItem(sure.child(0));
    QCOMPARE(
        preview.reasonLine().text(),
        QStringLiteral("Why: amount exact · on the due date · the counterparty names the due"));
    Snapshot(preview, QStringLiteral("statement-preview-reason.png"));
  }

  void AStatementOfAnAccountNoDueNamesSaysSoAndWithoutABalanceOffersNone() {
    Fixture f;
    f.core.statement.account.clear();
    f.core.statement.bankAccount.clear();
    f.core.statement.closingBalance.reset();
    f.core.statement.periodStart.reset();
    f.core.matching.accountNamedByNoDue = true;
    f.core.matching.matches.clear();
    StatementPreviewDialog preview = f.Preview();
    preview.show();
    QCOMPARE(preview.bankAccountLine().text(),
             QStringLiteral("The statement names no bank account."));
    QCOMPARE(preview.accountNote().text(),
             QStringLiteral("No due names this account; dues without an account were matched."));
    QVERIFY(preview.accountNote().isVisible());
    // Without its own start, the period starts at the first booking.
    QCOMPARE(preview.periodLine().text(),
             QStringLiteral("Period: 27 Feb 2026 – 31 Mar 2026 (5 transactions)"));
    QVERIFY(preview.balanceBox().isHidden());
    QVERIFY(!preview.choice().writeClosingBalance);
    // Nothing is checked, so there is nothing to import.
    QVERIFY(!preview.importButton().isEnabled());
    preview.section(Section::kUnmatched).child(0)->setCheckState(0, Qt::Checked);
    QVERIFY(preview.importButton().isEnabled());
  }

  void OnlyTheCheckedItemsReachTheImportAndTheWindowFollows() {
    Fixture f;
    auto window = f.Window();
    const QString path = f.WriteFile(QStringLiteral("march.ofx"), "OFXHEADER:100\r\n");
    QSignalSpy aboutToChange(window.get(), &MainWindow::aboutToChange);
    QSignalSpy changed(window.get(), &MainWindow::recordsChanged);
    window->view().SelectRow(1);  // the electricity, about to be paid
    QCOMPARE(window->view().SelectedRecord()->recordId, f.power);
    StatementImportCommand command(
        f.ws.app, *window, f.core.Services(), Answers({}, [](StatementPreviewDialog& preview) {
          preview.section(Section::kPossible).child(0)->setCheckState(0, Qt::Checked);
          preview.section(Section::kUnmatched).child(1)->setCheckState(0, Qt::Checked);
          preview.balanceBox().setChecked(false);
          return true;
        }));
    const QString summary = QStringLiteral("2 dues marked paid, 1 added.");
    QCOMPARE(command.Import(path), summary);
    QCOMPARE(f.core.readColumns, std::vector<std::optional<BankCsvColumns>>{std::nullopt});
    QCOMPARE(f.core.choices.size(), std::size_t{1});
    const StatementImportChoice& choice = f.core.choices[0];
    QCOMPARE(choice.accepted, f.core.matching.matches);
    QCOMPARE(choice.addAsPaid, std::vector<std::size_t>{3});
    QVERIFY(!choice.writeClosingBalance);
    QCOMPARE(f.core.sources, std::vector<std::string>{"march.ofx"});
    QCOMPARE(aboutToChange.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.ws.prompt.asked, QStringList{summary});
    QCOMPARE(window->note().text(), summary);
    // Regression: the import left no due selected.
    QCOMPARE(window->view().SelectedRecord()->recordId, f.power);
  }

  void ChoosingAnotherAccountMatchesAgainAndImportsToIt() {
    Fixture f;
    auto window = f.Window();
    const QString path = f.WriteFile(QStringLiteral("march.ofx"), "OFXHEADER:100\r\n");
    f.core.statement.account.clear();
    QStringList offered;
    QString afterSavings;
    QString afterNew = QStringLiteral("?");
    bool balanceOffered = true;
    StatementImportCommand command(
        f.ws.app, *window, f.core.Services(), Answers({}, [&](StatementPreviewDialog& preview) {
          QComboBox& account = preview.accountBox();
          offered = {account.itemText(0), account.itemText(1), account.itemText(2)};
          preview.show();
          Snapshot(preview, QStringLiteral("statement-account.png"));
          f.core.balanceEntered = true;
          account.setCurrentIndex(1);
          emit account.activated(1);
          afterSavings = account.currentText();
          balanceOffered = !preview.balanceBox().isHidden();
          account.setCurrentIndex(2);
          emit account.activated(2);
          afterNew = account.currentText();
          account.setEditText(QStringLiteral("Joint"));
          emit account.lineEdit()->editingFinished();
          return true;
        }));
    QVERIFY(!command.Import(path).isEmpty());
    // The best account first, the others after it, and a new one to type.
    QCOMPARE(offered, (QStringList{"Checking", "Savings", "New account…"}));
    QCOMPARE(afterSavings, QStringLiteral("Savings"));
    // This statement's balance is an entry of Savings already: it is not offered again.
    QVERIFY(!balanceOffered);
    QCOMPARE(afterNew, QString());
    QCOMPARE(f.core.matchedAccounts, (std::vector<std::string>{"Checking", "Savings", "Joint"}));
    QCOMPARE(f.core.importedAccounts, std::vector<std::string>{"Joint"});
    QVERIFY(!f.core.choices.at(0).writeClosingBalance);
  }

  void TheSummarySaysWhatWasDone() {
    Statement statement;
    statement.account = "Checking";
    statement.closingBalance = StatementBalance{At(2026, 11, 30), 124000};
    QCOMPARE(StatementSummaryText({12, 2, true}, statement),
             QStringLiteral("12 dues marked paid, 2 added, balance of Checking set to $1,240.00 "
                            "on 30 Nov 2026."));
    QCOMPARE(StatementSummaryText({1, 0, false}, statement),
             QStringLiteral("1 due marked paid, 0 added."));
    statement.account.clear();
    statement.closingBalance->amount = -5005;
    QCOMPARE(StatementSummaryText({0, 1, true}, statement),
             QStringLiteral("0 dues marked paid, 1 added, balance set to -$50.05 on 30 Nov 2026."));
  }

  void TheSummaryOffersTheRecurringBillsNoDueMatched() {
    Fixture f;
    f.core.statement = testing::HouseholdYear();
    f.core.matching = {};
    for (std::size_t i = 0; i < f.core.statement.transactions.size(); ++i)
      f.core.matching.unmatched.push_back(i);
    auto window = f.Window();
    const QString path = f.WriteFile(QStringLiteral("year.ofx"), "OFXHEADER:100\r\n");
    StatementImportCommand command(
        f.ws.app, *window, f.core.Services(), Answers({}, [](StatementPreviewDialog& preview) {
          preview.section(Section::kUnmatched).child(0)->setCheckState(0, Qt::Checked);
          return true;
        }));
    QSignalSpy wanted(&command, &StatementImportCommand::recurringBillsWanted);
    f.ws.prompt.answers = {PromptAnswer::kNo, PromptAnswer::kYes};
    const QString summary = QStringLiteral("0 dues marked paid, 1 added.");
    QCOMPARE(command.Import(path), summary);
    QCOMPARE(f.ws.prompt.asked,
             QStringList{summary + QStringLiteral("\n\n6 recurring bills are among the "
                                                  "transactions no due matched. Set them up "
                                                  "with Find Recurring Bills?")});
    QCOMPARE(f.ws.prompt.buttons, std::vector<PromptButtons>{PromptButtons::kYesNo});
    QCOMPARE(wanted.count(), 0);
    QCOMPARE(command.Import(path), summary);
    QCOMPARE(wanted.count(), 1);
    // The transaction added as a due is not offered again.
    const auto unmatched = wanted.at(0).at(0).value<Statement>();
    QCOMPARE(unmatched.transactions.size(), f.core.statement.transactions.size() - 1);
    QCOMPARE(unmatched.transactions.front().id, f.core.statement.transactions[1].id);
    QCOMPARE(unmatched.account, f.core.statement.account);
  }

  void FailuresAreToldAndNothingIsImported() {
    Fixture f;
    auto window = f.Window();
    QSignalSpy changed(window.get(), &MainWindow::recordsChanged);
    int previews = 0;
    StatementImportCommand command(f.ws.app, *window, f.core.Services(),
                                   Answers({}, [&previews](StatementPreviewDialog&) {
                                     ++previews;
                                     return true;
                                   }));
    const QString path = f.WriteFile(QStringLiteral("march.ofx"), "<OFX>");
    // File → Import Statement… opens its picker in the working directory; cancelled, it reads
    // nothing (the command's menu place is checked with every feature's, in the window's tests).
    window->commands().importStatement->trigger();
    QCOMPARE(f.ws.desktop.openStarts, QStringList{f.ws.directory()});

    QCOMPARE(command.Import(f.ws.directory() + QStringLiteral("/missing.ofx")), QString());
    QVERIFY(f.ws.prompt.asked.value(0).startsWith(QStringLiteral("The file \"")));

    // Larger than any statement: refused before a byte is read (a sparse file, not 65 MiB).
    QFile huge(f.WriteFile(QStringLiteral("huge.csv"), "Date;Amount\r\n"));
    QVERIFY(huge.resize(qint64{65} << 20));
    QCOMPARE(command.Import(huge.fileName()), QString());
    QCOMPARE(f.ws.prompt.asked.takeLast(),
             QStringLiteral("huge.csv is larger than 64 MiB: no bank statement is, so it was not "
                            "read."));
    QVERIFY(f.core.readPaths.empty());

    f.core.format.reset();
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(f.ws.prompt.asked.value(1),
             QStringLiteral("march.ofx is not a bank statement that Paylark reads (OFX, QFX, "
                            "CAMT.053 or a bank's CSV export)."));

    f.core.format = StatementFormat::kCamt;
    f.core.readFailure = "The statement ends before its last transaction.";
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(f.ws.prompt.asked.value(2), QString::fromStdString(f.core.readFailure));
    QCOMPARE(previews, 0);

    f.core.readFailure.clear();
    f.core.importFailure = "Rent: the disk is full";
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(previews, 1);
    QCOMPARE(f.ws.prompt.asked.value(3), QStringLiteral("Rent: the disk is full"));
    QCOMPARE(f.ws.prompt.asked.size(), 4);
    QCOMPARE(changed.count(), 0);
    QVERIFY(window->note().text().isEmpty());

    // A CSV whose form cannot be found is told before any column is asked for.
    f.core.format = StatementFormat::kCsv;
    f.core.shape = Status::InvalidArgument("The file holds no rows.");
    QCOMPARE(command.Import(path), QString());
    QCOMPARE(f.ws.prompt.asked.value(4), QStringLiteral("The file holds no rows."));
    QCOMPARE(f.core.readPaths.size(), std::size_t{2});
  }

  // The read waits until the progress dialog shows: the window answers meanwhile (the timer that
  // finds the dialog runs). Cancel ends the import at once with nothing asked or changed, and the
  // read behind it then ends and its statement is dropped; a read let go goes on to the preview.
  void CancelEndsASlowReadAtOnceAndAFinishedOneGoesOnToThePreview() {
    Fixture f;
    auto window = f.Window();
    QSignalSpy changed(window.get(), &MainWindow::recordsChanged);
    const QString path = f.WriteFile(QStringLiteral("march.ofx"), "<OFX>");
    int previews = 0;
    const auto dialogs = Answers({}, [&previews](StatementPreviewDialog&) {
      ++previews;
      return false;
    });
    std::promise<void> release;
    StatementImportCommand command(f.ws.app, *window, HeldRead(f.core, release), dialogs);
    auto* reader = window->findChild<StatementReader*>();
    QVERIFY(reader);
    QSignalSpy ended(reader, &StatementReader::readEnded);
    QElapsedTimer cancelled;
    WhenReading(*window, [&](QProgressDialog& progress) {
      QCOMPARE(progress.labelText(), QStringLiteral("Reading march.ofx..."));
      QCOMPARE(progress.maximum(), 0);  // busy: no end known
      QPushButton* cancel = progress.findChild<QPushButton*>();
      QVERIFY(cancel);
      QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
      cancelled.start();
      cancel->click();
    });
    QCOMPARE(command.Import(path), QString());
    const qint64 latency = cancelled.elapsed();
    QVERIFY(latency < 1000);
    QVERIFY(f.ws.prompt.asked.isEmpty());
    release.set_value();
    QVERIFY(ended.wait());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(previews, 0);
    qInfo("statement_read_cancel_ms %lld", latency);

    std::promise<void> later;
    StatementImportCommand slow(f.ws.app, *window, HeldRead(f.core, later), dialogs);
    WhenReading(*window, [&later](QProgressDialog&) { later.set_value(); });
    QCOMPARE(slow.Import(path), QString());
    QCOMPARE(previews, 1);
    QVERIFY(window->findChild<QProgressDialog*>() == nullptr);
  }

  void ALargeImportShowsItsProgress() {
    Fixture f;
    auto window = f.Window();
    f.core.matching = {};
    for (std::size_t index = 0; index < 250; ++index) {
      f.core.statement.transactions.push_back(
          Booking("T" + std::to_string(index), At(2026, 3, 10), -100, "Shop"));
      f.core.matching.unmatched.push_back(f.core.statement.transactions.size() - 1);
    }
    f.core.whileImporting = [&window] {
      auto* progress = window->findChild<QProgressDialog*>();
      return progress && progress->isVisible() && progress->maximum() == 250;
    };
    StatementImportCommand command(f.ws.app, *window, f.core.Services(),
                                   Answers({}, [](StatementPreviewDialog& preview) {
                                     QTreeWidgetItem& rows = preview.section(Section::kUnmatched);
                                     for (int row = 0; row < rows.childCount(); ++row)
                                       rows.child(row)->setCheckState(0, Qt::Checked);
                                     return true;
                                   }));
    const QString summary = command.Import(f.WriteFile(QStringLiteral("big.ofx"), "<OFX>"));
    QVERIFY(
        summary.startsWith(QStringLiteral("0 dues marked paid, 250 added, balance of Checking")));
    QVERIFY(f.core.progressShown);
    QVERIFY(window->findChild<QProgressDialog*>() == nullptr);
  }
};

}  // namespace paylark::test

int main(int argc, char* argv[]) {
  paylark::test::StatementsTest test;
  return paylark::test::RunTestClasses(argc, argv, {&test});
}

#include "statements_test.moc"
