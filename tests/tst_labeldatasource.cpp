#include <QtTest>

#include "catalogue/LabelDataSource.h"
#include "support/OdbcHome.h"
#include "support/TestDatabase.h"

namespace {

// The lines of one section of an ini text, without blank lines.
QStringList Section(const QString& ini, const QString& name) {
    QStringList lines;
    bool inside = false;
    for (const QString& line : ini.split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith('['))
            inside = line.trimmed() == '[' + name + ']';
        else if (inside)
            lines << line.trimmed();
    }
    return lines;
}

} // namespace

class TestLabelDataSource : public QObject {
    Q_OBJECT

  private slots:
    void entryNamesTheDriverAndTheDatabase();
    void labelRowsAreReadBackThroughTheDriver();
    void writingAgainReplacesTheEntry();
    void serverDriverKeysAreWrittenAsGiven();
    void unknownDriverOrUnwritableFileIsAFailure();
};

void TestLabelDataSource::entryNamesTheDriverAndTheDatabase() {
    const QString path = QStringLiteral("/home/店员/远航 销售/Harbor.accdb");
    const OdbcDataSource entry = LabelDataSource::SqliteEntry(path);
    QCOMPARE(entry.name, QStringLiteral("远航销售"));
    QCOMPARE(entry.driver, QStringLiteral("SQLite3"));
    QCOMPARE(entry.keys.first(), std::make_pair(QStringLiteral("Database"), path));

    OdbcHome home;
    QVERIFY(home.IsValid());
    QVERIFY(LabelDataSource::Register(path));
    QCOMPARE(Section(home.UserIniText(), "远航销售"),
             (QStringList{"Driver=SQLite3", "Database=" + path, "Timeout=5000"}));
}

// The label program's view: the rows of printcodedata, read through the data source by the
// SQLite ODBC driver, while the program still holds its connection.
void TestLabelDataSource::labelRowsAreReadBackThroughTheDriver() {
    TestDatabase db;
    db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES ('膨胀螺丝', '100个/盒', "
            "'0101010001')");
    db.Exec("INSERT INTO printcodedata (shortname, spec, code) VALUES ('开关', '10个/箱', "
            "'0200000001')");
    OdbcHome home;
    QVERIFY(LabelDataSource::Register(QFileInfo(db.Path()).absoluteFilePath()));
    // On the server the label program goes through PostgreSQL's ODBC driver.
    QCOMPARE(Section(home.UserIniText(), "远航销售").value(0),
             TestDatabase::OnServer() ? QString("Driver=PostgreSQL Unicode") : QString("Driver=SQLite3"));
    QString error;
    const QStringList rows =
        home.Query("远航销售", "SELECT shortname, spec, code FROM printcodedata ORDER BY code", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(rows, (QStringList{"膨胀螺丝|100个/盒|0101010001", "开关|10个/箱|0200000001"}));
}

void TestLabelDataSource::writingAgainReplacesTheEntry() {
    OdbcHome home;
    OdbcDataSource old = LabelDataSource::SqliteEntry("/old/Harbor.accdb");
    old.keys.append(std::make_pair(QStringLiteral("StepAPI"), QStringLiteral("1")));
    QVERIFY(LabelDataSource::Write(old));
    QVERIFY(LabelDataSource::Write({"其他数据源", "SQLite3", {{"Database", "/other.db"}}}));
    QVERIFY(LabelDataSource::Register("/new/Harbor.accdb"));
    const QString ini = home.UserIniText();
    QCOMPARE(ini.count(QStringLiteral("[远航销售]")), 1);
    QCOMPARE(Section(ini, "远航销售"),
             (QStringList{"Driver=SQLite3", "Database=/new/Harbor.accdb", "Timeout=5000"}));
    // another data source of the user stays as it was
    QCOMPARE(Section(ini, "其他数据源"), (QStringList{"Driver=SQLite3", "Database=/other.db"}));
}

// A shop on a PostgreSQL server names the server instead of a file.
void TestLabelDataSource::serverDriverKeysAreWrittenAsGiven() {
    OdbcHome home;
    const OdbcDataSource server{"远航销售",
                                "PostgreSQL Unicode",
                                {{"Servername", "192.0.2.10"},
                                 {"Port", "5432"},
                                 {"Database", "harbor"},
                                 {"Username", "店员"}}};
    QVERIFY(LabelDataSource::Write(server));
    QCOMPARE(Section(home.UserIniText(), "远航销售"),
             (QStringList{"Driver=PostgreSQL Unicode", "Servername=192.0.2.10", "Port=5432",
                          "Database=harbor", "Username=店员"}));
}

void TestLabelDataSource::unknownDriverOrUnwritableFileIsAFailure() {
    OdbcHome home;
    QVERIFY(!LabelDataSource::Write({"远航销售", "No Such Driver", {{"Database", "/x.db"}}}));
    QVERIFY(!LabelDataSource::Write({"", "SQLite3", {{"Database", "/x.db"}}}));
    QCOMPARE(home.UserIniText(), QString());

    // the user's configuration file cannot be written
    const QByteArray odbcIni = qgetenv("ODBCINI");
    qputenv("ODBCINI", QFile::encodeName(home.Folder() + "/missing folder/odbc.ini"));
    const bool written = LabelDataSource::Register("/x.db");
    qputenv("ODBCINI", odbcIni);
    QVERIFY(!written);
}

QTEST_GUILESS_MAIN(TestLabelDataSource)
#include "tst_labeldatasource.moc"
