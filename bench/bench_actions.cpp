// The benchmark suite: each action of the program on a large shop beside its baseline, medians
// of interleaved runs, printed as one table (scripts/bench.sh builds and runs it).
//
//   bench_actions --db FILE --raw BENCH_RAW [--grid BENCH_GRID] [--startup BENCH_STARTUP]
//                 [--runs 7] [--only WORD]
//
// FILE is a working copy of a shop (the program opens it read-write and upgrades its schema;
// the save and statement rows write to it). The baselines are real: the same SQL run straight
// on SQLite's C API by bench_raw (a separate process reading commands), a QTableWidget doing
// the grid's work, a minimal Qt main window for the start-up. Every action is timed on both
// sides in each run, the order of the two sides alternating from run to run.
//
// Peak memory of the stock search with every product against the same rows in a QTableWidget
// dialog runs in two fresh processes of this program:
//   bench_actions --peak inventory|table|empty --db FILE   prints the peak in KiB
#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/ProductSearch.h"
#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/CStatementRun.h"
#include "db/Db.h"
#include "db/MemoryTuning.h"
#include "db/PrefixSearch.h"
#include "db/SqlText.h"
#include "documents/CFormStore.h"
#include "documents/DocumentForm.h"
#include "documents/Oddnum.h"
#include "grid/CGridCtrl.h"
#include "queries/CAccountDlg.h"
#include "queries/CReportDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/ProfitReports.h"
#include "queries/SaleQueryControls.h"
#include "queries/SaleQuerySql.h"
#include "stock/CInventoryDlg.h"
#include "ui/CDbAction.h"
#include "ui/FontSetup.h"
#include "ui/PickArea.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Timing helpers

void Drain() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

// Runs the work and returns its wall time in milliseconds.
double Ms(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Everything queued is done, which paints what the action changed, once, as the event loop
// does after a user's action (a repaint on top would draw the window a second time).
void PaintNow(QWidget* window) {
    Q_UNUSED(window);
    Drain();
}

// ---------------------------------------------------------------------------------------------
// The raw engine in its own process

class RawEngine {
  public:
    RawEngine(const QString& program, const QString& db) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, {db});
        if (!m_process.waitForStarted(10000))
            qFatal("bench_raw does not start: %s", qPrintable(program));
    }
    ~RawEngine() {
        m_process.write("QUIT\n");
        m_process.waitForFinished(10000);
    }

    // Sends one command; returns the engine's own time for it.
    double Command(const QStringList& fields) {
        m_process.write(fields.join(QLatin1Char('\t')).toUtf8() + '\n');
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(600000))
                qFatal("bench_raw did not answer %s", qPrintable(fields.join(QLatin1Char(' '))));
        }
        const QList<QByteArray> answer = m_process.readLine().trimmed().split('\t');
        m_lastRows = answer.value(1).toLongLong();
        return answer.value(0).toDouble();
    }

    // The statement as the program's connection hands it to the engine, values as text.
    double Query(const SqlStatement& statement) {
        QStringList fields{QStringLiteral("Q"), Db()->RewrittenText(statement.sql)};
        for (const QVariant& value : statement.values)
            fields.append(SqlValueText(value));
        return Command(fields);
    }

    template <typename List> double Queries(const List& statements) {
        double total = 0;
        for (const SqlStatement& statement : statements)
            total += Query(statement);
        return total;
    }

    long long LastRows() const { return m_lastRows; }

  private:
    QProcess m_process;
    long long m_lastRows = 0;
};

// A helper program started for one timing; returns the number it prints after the word, or
// the time until its first line when timeToFirstLine is set.
double ChildTime(const QString& program, const QStringList& args, bool timeToFirstLine) {
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    child.start(program, args);
    if (!child.waitForReadyRead(600000))
        return -1;
    const double untilLine = timer.nsecsElapsed() / 1e6;
    child.waitForFinished(600000);
    if (timeToFirstLine)
        return untilLine;
    const QList<QByteArray> words = child.readAllStandardOutput().simplified().split(' ');
    return words.value(1).toDouble();
}

// ---------------------------------------------------------------------------------------------
// The actions, each one small function on the program's side

const QString kAllKeyword;                                // every product
const QString kSelectiveKeyword = QStringLiteral("扳手"); // one in a hundred products
const QString kPickInitials = QStringLiteral("sj");       // about 2,600 products

double InventorySearch(CInventoryDlg& dialog, const QString& keyword) {
    dialog.KeywordBox()->setText(keyword);
    return Ms([&] {
        dialog.Search();
        PaintNow(&dialog);
    });
}

// Ctrl+End in the stock search that lists every product, to the painted last row.
double InventoryEnd(CInventoryDlg& dialog) {
    dialog.KeywordBox()->setText(kAllKeyword);
    dialog.Search();
    PaintNow(&dialog);
    CGridCtrl* grid = dialog.Grid();
    grid->SetFocusCell(1, 1);
    return Ms([&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
        QApplication::sendEvent(grid, &key);
        PaintNow(&dialog);
    });
}

double PickerByInitials(const QString& typed) {
    PickArea().m_strPickQuery = typed;
    std::unique_ptr<CPinyinSelectDlg> dialog;
    return Ms([&] {
        dialog = std::make_unique<CPinyinSelectDlg>();
        dialog->show();
        PaintNow(dialog.get());
    });
}

double SaleOutQuery(CSaleOutQueryDlg& dialog, const QDate& start, const QDate& end) {
    dialog.Ui().m_pStart->setDate(start);
    dialog.Ui().m_pEnd->setDate(end);
    return Ms([&] {
        dialog.Query();
        PaintNow(&dialog);
    });
}

double AccountSums(CAccountDlg& dialog, const QString& year, const QString& month) {
    return Ms([&] { dialog.Compute(year, month); });
}

// Made and shown, as the ribbon opens it (the first show once read everything again).
double AccountOpening() {
    std::unique_ptr<CAccountDlg> dialog;
    return Ms([&] {
        dialog = std::make_unique<CAccountDlg>();
        dialog->show();
    });
}

// A report of 经营报表 for a whole year, as the window asks for it.
ReportRequest YearReport(const QString& name, int year) {
    ReportRequest request;
    request.name = name;
    request.from = QDate(year, 1, 1);
    request.to = QDate(year, 12, 31);
    return request;
}

double Report(const ReportRequest& request) {
    return Ms([&] { BuildReport(request); });
}

// 经营报表 with its first report (商品销售毛利) and the period set: a click on 查询 to the
// painted list.
double ReportWindowQuery(CReportDlg& dialog, const ReportRequest& request) {
    dialog.ReportBox()->setCurrentIndex(0);
    dialog.FromBox()->setDate(request.from);
    dialog.ToBox()->setDate(request.to);
    Drain();
    return Ms([&] {
        dialog.QueryButton()->click();
        PaintNow(&dialog);
    });
}

// The same in a window opened just before, which shows no list yet.
double ReportFreshWindow(const ReportRequest& request) {
    CReportDlg dialog;
    dialog.show();
    return ReportWindowQuery(dialog, request);
}

double NumberDraw(const QDate& date) {
    return Ms([&] { NewOddnum(QStringLiteral("saleout"), date); });
}

double YearList() {
    return Ms([] { YearsInTable(QStringLiteral("saleout")); });
}

// The program's sales-out save of a new document with a line per code.
double SaveSaleOut(const QString& oddnum, const QStringList& codes) {
    const DocumentHeader header{oddnum,
                                QStringLiteral("演示客户"),
                                QStringLiteral("2026-12-31 10:00:00"),
                                QStringLiteral("1000.00"),
                                QStringLiteral("1000.00"),
                                QStringLiteral("结清"),
                                QStringLiteral("张三"),
                                QStringLiteral("001")};
    QVector<DocumentLine> lines;
    for (const QString& code : codes)
        lines.append({QStringLiteral("五金工具-扳手-国标-小号"), QStringLiteral("扳手小号"), code,
                      QStringLiteral("10个/箱"), QStringLiteral("10.0000"), QStringLiteral("1"),
                      QStringLiteral("1.0"), QStringLiteral("10.00"), QString(), QString()});
    const CFormStore store(DocumentForm::SaleOut());
    QVector<ScreenLine> screen;
    for (const DocumentLine& line : lines)
        screen.append({store.LineTexts(line), std::nullopt});
    return Ms([&] {
        RunDbAction(nullptr, QStringLiteral("保存出库单"), [&] {
            const QString number = store.Documents().FirstSaveNumber(header.oddnum, nullptr);
            store.Documents().Save(number, store.HeaderTexts(header), screen, std::nullopt);
        });
    });
}

// n runs of one bound statement through the connection, rolled back afterwards. A value "#"
// takes the run's index, "@" the code of product i.
double StatementLoop(int n, const QString& sql, const QStringList& pattern,
                     const QStringList& codes) {
    CConnection& connection = *Db();
    return Ms([&] {
        connection.BeginTransaction();
        for (int i = 0; i < n; ++i) {
            QVariantList values;
            for (const QString& p : pattern)
                values.append(p == QLatin1String("#")   ? QVariant(QString::number(i))
                              : p == QLatin1String("@") ? QVariant(codes[i % codes.size()])
                                                        : QVariant(p));
            connection.Execute(sql, values);
        }
        connection.Rollback();
    });
}

std::vector<SqlStatement> AccountSumsByRange(const QString& prefix) {
    const TextRange range = PrefixRange(prefix);
    const QVariantList bounds{range.low, range.high};
    return {{QStringLiteral("SELECT SUM(freceivable) AS money1, SUM(freceipt) AS money2 FROM "
                            "(SELECT DISTINCT oddnum,freceivable,freceipt FROM saleout WHERE "
                            "oddnum >= ? AND oddnum < ?)"),
             bounds},
            {QStringLiteral("SELECT SUM(freceivable) AS money3, SUM(freceipt) AS money4 FROM "
                            "(SELECT DISTINCT oddnum,freceivable,freceipt FROM salein WHERE "
                            "oddnum >= ? AND oddnum < ?)"),
             bounds},
            {QStringLiteral("SELECT SUM(fmoney) AS money5 FROM (SELECT DISTINCT oddnum,fmoney FROM "
                            "entry WHERE oddnum >= ? AND oddnum < ?)"),
             bounds}};
}

std::vector<SqlStatement> NumberDrawStatements(const QDate& date) {
    const QString prefix = OddnumPrefix(date);
    const QVariantList day{prefix + QStringLiteral("000"), prefix + QStringLiteral("999")};
    return {{QStringLiteral("SELECT max(oddnum) as maxoddnum FROM saleout WHERE oddnum >= ? AND "
                            "oddnum <= ?"),
             day}};
}

// ---------------------------------------------------------------------------------------------
// The table

struct Action {
    QString name;
    QString goal;
    std::function<double()> program;
    std::function<double()> baseline;
    QString baselineKind;
    std::vector<double> programTimes;
    std::vector<double> baselineTimes;
    qint64 statements = 0; // what the program's side sent to the engine in its last run
};

void PrintTable(const std::vector<Action>& actions, int runs) {
    std::printf("\n%-44s %12s %12s %8s %6s  %-12s %s\n", "action", "program ms", "baseline ms",
                "ratio", "stmts", "goal", "baseline");
    for (const Action& a : actions) {
        const double p = Median(a.programTimes);
        const double b = Median(a.baselineTimes);
        // Chinese names take two columns each on a terminal.
        const QByteArray name = a.name.toUtf8();
        int width = 0;
        for (QChar c : a.name)
            width += c.unicode() >= 0x1100 ? 2 : 1;
        std::printf("%s%*s %12.2f %12.2f %8.2f %6lld  %-12s %s\n", name.constData(),
                    std::max(0, 44 - width), "", p, b, b > 0 ? p / b : 0.0,
                    static_cast<long long>(a.statements), qPrintable(a.goal),
                    qPrintable(a.baselineKind));
    }
    std::printf("(medians of %d interleaved runs; stmts: statements the program's side sent to "
                "the engine in one run, 0 for the rows timed in a child process)\n",
                runs);
}

// ---------------------------------------------------------------------------------------------
// Peak memory

// The process's peak resident memory in KiB. From VmHWM, which starts afresh with the program
// (ru_maxrss would carry over what the suite's large process held when it started this one).
long PeakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void OpenShop(const QString& db) {
    Db() = std::make_shared<CConnection>();
    Db()->OpenFile(db);
}

int RunPeak(const QString& kind) {
    if (kind == QLatin1String("empty")) { // what the process needs without any rows
        CInventoryDlg dialog;
        dialog.show();
        PaintNow(&dialog);
        std::printf("peak %ld\n", PeakKiB());
        return 0;
    }
    if (kind == QLatin1String("inventory")) {
        CInventoryDlg dialog;
        dialog.show();
        dialog.KeywordBox()->setText(kAllKeyword);
        dialog.Search();
        PaintNow(&dialog);
        std::printf("peak %ld\n", PeakKiB());
        return 0;
    }
    // The same rows and columns in a QTableWidget dialog.
    QDialog dialog;
    dialog.resize(1260, 700);
    auto* table = new QTableWidget(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(table);
    table->setColumnCount(kProductColumnCount - 1);
    table->setHorizontalHeaderLabels({QStringLiteral("商品名称"), QStringLiteral("商品简称"),
                                      QStringLiteral("包装规格"), QStringLiteral("条形码"),
                                      QStringLiteral("单价"), QStringLiteral("库存")});
    dialog.show();
    Drain();
    const SqlStatement statement = CInventoryDlg::SearchSql(0, kAllKeyword);
    CSqlReader reader(statement);
    const char* fields[] = {"name", "shortname", "spec", "code", "price", "total"};
    int columns[6];
    for (int c = 0; c < 6; ++c)
        columns[c] = reader.Column(QString::fromLatin1(fields[c]));
    while (reader.Next()) {
        const int row = table->rowCount();
        table->insertRow(row);
        for (int c = 0; c < 6; ++c)
            table->setItem(row, c, new QTableWidgetItem(reader.Text(columns[c])));
    }
    PaintNow(&dialog);
    std::printf("peak %ld\n", PeakKiB());
    return 0;
}

// Where the time of the stock search with every product goes, step by step.
int RunBreakdown() {
    CInventoryDlg dialog;
    dialog.show();
    Drain();
    const SqlStatement statement = CInventoryDlg::SearchSql(0, kAllKeyword);
    for (int run = 0; run < 3; ++run) {
        long long chars = 0;
        const double read = Ms([&] {
            CSqlReader reader(statement);
            while (reader.Next()) {
                for (int c = 0; c < reader.ColumnCount(); ++c)
                    chars += reader.Text(c).size();
            }
        });
        const double step = Ms([&] {
            CSqlReader reader(statement);
            while (reader.Next())
                ++chars;
        });
        const double fill = Ms([&] { FillProductGrid(*dialog.Grid(), statement); });
        const double paint = Ms([&] { PaintNow(&dialog); });
        const double clear = Ms([&] { dialog.Grid()->DeleteNonFixedRows(); });
        FillProductGrid(*dialog.Grid(), statement);
        PaintNow(&dialog);
        const SqlStatement selective = CInventoryDlg::SearchSql(0, kSelectiveKeyword);
        const double clearAgain = Ms([&] { dialog.Grid()->DeleteNonFixedRows(); });
        const double fillSelective = Ms([&] { FillProductGrid(*dialog.Grid(), selective); });
        const double paintSelective = Ms([&] { PaintNow(&dialog); });
        std::printf("step only %.1f ms, read every column %.1f ms, fill grid %.1f ms, paint %.1f "
                    "ms, clear %.1f ms (%lld); after it: clear %.1f ms, fill selective %.1f ms, "
                    "paint %.1f ms\n",
                    step, read, fill, paint, clear, chars, clearAgain, fillSelective,
                    paintSelective);
    }
    return 0;
}

QString Option(const QStringList& args, const QString& name, const QString& fallback = {}) {
    const int at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

QStringList ProductCodes() {
    QStringList codes;
    CSqlReader reader(QStringLiteral("SELECT code FROM property ORDER BY code"));
    while (reader.Next())
        codes.append(reader.Text(0));
    return codes;
}

} // namespace

int main(int argc, char* argv[]) {
    TuneMemoryAllocator(); // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetupFonts();
    const QStringList args = app.arguments();
    const QString db = Option(args, QStringLiteral("--db"));
    if (db.isEmpty()) {
        std::fprintf(stderr, "usage: bench_actions --db FILE --raw BENCH_RAW [--grid BENCH_GRID] "
                             "[--startup BENCH_STARTUP] [--runs N] [--only WORD]\n");
        return 1;
    }
    OpenShop(db);
    if (args.contains(QStringLiteral("--breakdown")))
        return RunBreakdown();
    if (args.contains(QStringLiteral("--peak")))
        return RunPeak(Option(args, QStringLiteral("--peak")));

    const int runs = Option(args, QStringLiteral("--runs"), QStringLiteral("7")).toInt();
    const QString only = Option(args, QStringLiteral("--only"));
    const QString self = QCoreApplication::applicationFilePath();
    const QString gridProgram = Option(args, QStringLiteral("--grid"));
    const QString startupProgram = Option(args, QStringLiteral("--startup"));
    RawEngine raw(Option(args, QStringLiteral("--raw")), db);

    // Documents that an earlier run of the suite saved are removed, so each save is a new one.
    Db()->Execute(QStringLiteral("DELETE FROM saleout WHERE oddnum >= ? AND oddnum < ?"),
                  {QStringLiteral("20261231500"), QStringLiteral("20261232")});
    const QStringList codes = ProductCodes();
    QStringList saveCodes;
    for (int i = 0; i < 100; ++i)
        saveCodes.append(codes[(i * 997) % codes.size()]);

    CInventoryDlg inventory;
    inventory.show();
    CInventoryDlg selectiveInventory; // its last search was a selective one too
    selectiveInventory.show();
    CSaleOutQueryDlg saleQuery;
    saleQuery.show();
    CAccountDlg account;
    CReportDlg reports; // 经营报表, queried again and again
    reports.show();
    Drain();

    const QDate lastDay(2026, 12, 31);
    std::vector<Action> actions;
    auto add = [&](const QString& name, const QString& goal, std::function<double()> program,
                   std::function<double()> baseline, const QString& kind) {
        if (only.isEmpty() || name.contains(only))
            actions.push_back({name, goal, std::move(program), std::move(baseline), kind, {}, {}});
    };
    add(
        QStringLiteral("库存盘点 all products (count+first page painted)"),
        QStringLiteral("<= 0.5"), [&] { return InventorySearch(inventory, kAllKeyword); },
        [&] { return raw.Query(CInventoryDlg::SearchSql(0, kAllKeyword)); },
        QStringLiteral("every row, C API"));
    const PagedQuery allProducts = ProductListQuery(CInventoryDlg::SearchCondition(0, kAllKeyword));
    add(
        QStringLiteral("库存盘点 all products, End painted"), QStringLiteral("<= 1.2"),
        [&] { return InventoryEnd(inventory); },
        [&] {
            const int count =
                SqlScalar(CPagedSqlSource::CountSql(allProducts), allProducts.values).toInt();
            const QString rowKey = Db()->Dialect().RowIdColumn();
            return raw.Query({CPagedSqlSource::PageSql(allProducts, rowKey, false, 100,
                                                       std::max(count - 100, 0)),
                              allProducts.values});
        },
        QStringLiteral("last page, C API"));
    add(
        QStringLiteral("库存盘点 selective, replacing all products"), QStringLiteral("-"),
        [&] { return InventorySearch(inventory, kSelectiveKeyword); },
        [&] { return raw.Query(CInventoryDlg::SearchSql(0, kSelectiveKeyword)); },
        QStringLiteral("same SQL, C API"));
    add(
        QStringLiteral("库存盘点 selective keyword"), QStringLiteral("<= 1.3"),
        [&] { return InventorySearch(selectiveInventory, kSelectiveKeyword); },
        [&] { return raw.Query(CInventoryDlg::SearchSql(0, kSelectiveKeyword)); },
        QStringLiteral("same SQL, C API"));
    add(
        QStringLiteral("product picker by initials"), QStringLiteral("<= 1.5"),
        [&] { return PickerByInitials(kPickInitials); },
        [&] { return raw.Query(CPinyinSelectDlg::SearchSql(kPickInitials)); },
        QStringLiteral("same SQL, C API"));
    auto saleQueryStatement = [](const QDate& start, const QDate& end) {
        return SaleQueryStatement(QStringLiteral("saleout"),
                                  SaleQueryFilter{start, end, QString(), QString(), QString()});
    };
    add(
        QStringLiteral("出库查询 one year"), QStringLiteral("<= 2"),
        [&] { return SaleOutQuery(saleQuery, QDate(2025, 1, 1), QDate(2025, 12, 31)); },
        [&] { return raw.Query(saleQueryStatement(QDate(2025, 1, 1), QDate(2025, 12, 31))); },
        QStringLiteral("same SQL, C API"));
    add(
        QStringLiteral("出库查询 one month"), QStringLiteral("<= 2"),
        [&] { return SaleOutQuery(saleQuery, QDate(2025, 6, 1), QDate(2025, 6, 30)); },
        [&] { return raw.Query(saleQueryStatement(QDate(2025, 6, 1), QDate(2025, 6, 30))); },
        QStringLiteral("same SQL, C API"));
    add(
        QStringLiteral("帐目统计 year"), QStringLiteral("<= 1.2"),
        [&] { return AccountSums(account, QStringLiteral("2025"), QStringLiteral("00")); },
        [&] { return raw.Queries(AccountSumsByRange(QStringLiteral("2025"))); },
        QStringLiteral("range on index"));
    add(
        QStringLiteral("帐目统计 month"), QStringLiteral("<= 1.2"),
        [&] { return AccountSums(account, QStringLiteral("2025"), QStringLiteral("06")); },
        [&] { return raw.Queries(AccountSumsByRange(QStringLiteral("202506"))); },
        QStringLiteral("range on index"));
    add(
        QStringLiteral("帐目统计 opening (year list+first year)"), QStringLiteral("<= 1.5"),
        [&] { return AccountOpening(); },
        [&] {
            const double years = raw.Command({QStringLiteral("YEARS"), QStringLiteral("saleout")});
            return years + raw.Queries(AccountSumsByRange(QStringLiteral("2017")));
        },
        QStringLiteral("skip+range"));
    add(
        QStringLiteral("year list (YearsInTable)"), QStringLiteral("<= 1.5"),
        [&] { return YearList(); },
        [&] {
            return raw.Command({QStringLiteral("YEARS"), QStringLiteral("saleout")});
        },
        QStringLiteral("skip, C API"));
    add(
        QStringLiteral("新增一单 number draw (ms, goal 2 ms)"), QStringLiteral("<= 2 ms"),
        [&] { return NumberDraw(lastDay); },
        [&] { return raw.Queries(NumberDrawStatements(lastDay)); },
        QStringLiteral("same SQL, C API"));
    add(
        QStringLiteral("highest number of a day (PrefixRange)"), QStringLiteral("<= 1.5"),
        [&] {
            const TextRange range = PrefixRange(OddnumPrefix(lastDay));
            return Ms([&] {
                SqlScalar(QStringLiteral("SELECT max(oddnum) AS maxoddnum FROM saleout WHERE "
                                         "oddnum >= ? AND oddnum < ?"),
                          {range.low, range.high});
            });
        },
        [&] {
            const TextRange range = PrefixRange(OddnumPrefix(lastDay));
            return raw.Query({QStringLiteral("SELECT max(oddnum) AS maxoddnum FROM saleout WHERE "
                                             "oddnum >= ? AND oddnum < ?"),
                              {range.low, range.high}});
        },
        QStringLiteral("same SQL, C API"));
    int saved = 0;
    int rawSaved = 0;
    add(
        QStringLiteral("save a 100-line sales-out with stock"), QStringLiteral("<= 2"),
        [&] { return SaveSaleOut(QStringLiteral("20261231%1").arg(500 + saved++), saveCodes); },
        [&] {
            QStringList fields{QStringLiteral("SAVE"), QStringLiteral("saleout"),
                               QStringLiteral("20261231%1").arg(700 + rawSaved++)};
            return raw.Command(fields + saveCodes);
        },
        QStringLiteral("same statements"));
    const QString update = QStringLiteral("UPDATE property SET price=? WHERE code=?");
    add(
        QStringLiteral("statement path: 2000 bound UPDATEs"), QStringLiteral("-"),
        [&] {
            return StatementLoop(2000, update, {QStringLiteral("#"), QStringLiteral("@")}, codes);
        },
        [&] {
            return raw.Command({QStringLiteral("LOOP"), QStringLiteral("2000"), update,
                                QStringLiteral("#"), QStringLiteral("@")});
        },
        QStringLiteral("same SQL, C API"));
    const QString insert = QStringLiteral(
        "INSERT INTO customer (mc,linkman,phone,address,remark,pinyin) VALUES (?,?,?,?,?,?)");
    const QStringList insertValues{QStringLiteral("#"),
                                   QStringLiteral("联系人"),
                                   QStringLiteral("12345678"),
                                   QStringLiteral("地址"),
                                   QString(),
                                   QStringLiteral("KH")};
    add(
        QStringLiteral("statement path: 2000 bound INSERTs"), QStringLiteral("-"),
        [&] { return StatementLoop(2000, insert, insertValues, codes); },
        [&] {
            return raw.Command(QStringList{QStringLiteral("LOOP"), QStringLiteral("2000"), insert} +
                               insertValues);
        },
        QStringLiteral("same SQL, C API"));
    // The reports of 2025 (the stock value and the slow movers are those of today's stock).
    for (const char* name : {"profit-by-product", "profit-by-class", "profit-by-customer",
                             "best-sellers", "stock-value", "slow-movers"}) {
        const ReportRequest request = YearReport(QString::fromLatin1(name), 2025);
        add(
            QStringLiteral("经营报表 %1 2025").arg(request.name), QStringLiteral("<= 1.5"),
            [=] { return Report(request); },
            [&raw, request] { return raw.Queries(ReportStatements(request)); },
            QStringLiteral("same SQL, C API"));
    }
    const ReportRequest windowReport = YearReport(QStringLiteral("profit-by-product"), 2025);
    add(
        QStringLiteral("经营报表 window, first query (product year)"), QStringLiteral("<= 1.5"),
        [&] { return ReportFreshWindow(windowReport); },
        [&] { return raw.Queries(ReportStatements(windowReport)); },
        QStringLiteral("same SQL, C API"));
    add(
        QStringLiteral("经营报表 window, query again (product year)"), QStringLiteral("<= 1.5"),
        [&] { return ReportWindowQuery(reports, windowReport); },
        [&] { return raw.Queries(ReportStatements(windowReport)); },
        QStringLiteral("same SQL, C API"));
    if (!startupProgram.isEmpty())
        add(
            QStringLiteral("start-up to the painted main window"), QStringLiteral("<= 1.3"),
            [&] {
                return ChildTime(startupProgram,
                                 {QStringLiteral("--child"), QStringLiteral("harbor")}, true);
            },
            [&] {
                return ChildTime(startupProgram,
                                 {QStringLiteral("--child"), QStringLiteral("minimal")}, true);
            },
            QStringLiteral("minimal QMainWindow"));
    if (!gridProgram.isEmpty())
        add(
            QStringLiteral("grid: 100k rows appended, loop drained"), QStringLiteral("<= 0.8"),
            [&] { return ChildTime(gridProgram, {QStringLiteral("--grid-once")}, false); },
            [&] { return ChildTime(gridProgram, {QStringLiteral("--table-once")}, false); },
            QStringLiteral("QTableWidget"));

    auto timeProgram = [&](Action& a) {
        const qint64 before = CStatementRun::RunCount();
        a.programTimes.push_back(a.program());
        a.statements = CStatementRun::RunCount() - before;
    };
    for (int run = 0; run < runs; ++run) {
        for (Action& a : actions) {
            // The side that goes first alternates, so neither always finds the caches warm.
            if (run % 2 == 0) {
                timeProgram(a);
                a.baselineTimes.push_back(a.baseline());
            } else {
                a.baselineTimes.push_back(a.baseline());
                timeProgram(a);
            }
        }
        std::fprintf(stderr, "run %d of %d done\n", run + 1, runs);
    }
    PrintTable(actions, runs);

    if (only.isEmpty() || QStringLiteral("peak memory").contains(only)) {
        const double inventoryPeak = ChildTime(
            self,
            {QStringLiteral("--peak"), QStringLiteral("inventory"), QStringLiteral("--db"), db},
            false);
        const double tablePeak = ChildTime(
            self, {QStringLiteral("--peak"), QStringLiteral("table"), QStringLiteral("--db"), db},
            false);
        const double emptyPeak = ChildTime(
            self, {QStringLiteral("--peak"), QStringLiteral("empty"), QStringLiteral("--db"), db},
            false);
        std::printf("\npeak memory, 库存盘点 with every product: %.0f MiB; the same rows in a "
                    "QTableWidget dialog: %.0f MiB; ratio %.2f (goal <= 2); the empty dialog: "
                    "%.0f MiB\n",
                    inventoryPeak / 1024, tablePeak / 1024,
                    tablePeak > 0 ? inventoryPeak / tablePeak : 0.0, emptyPeak / 1024);
    }
    Db()->Close();
    return 0;
}
