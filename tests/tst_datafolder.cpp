// Where the shop's files live: beside a program in a folder it can write to, in the user's data
// folder for an installed one; the first start there makes an empty shop, later ones keep it.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "admin/ConnectionCheck.h"
#include "db/DataFolder.h"
#include "db/LansetFile.h"
#include "db/ProgramFolder.h"

namespace {

QString
RunProgram(const QStringList& arguments, int* code,
           const QString& program = QStringLiteral(HARBOR_EXECUTABLE),
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(60000);
    *code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestDataFolder : public QObject {
    Q_OBJECT

  private slots:
    void choosesTheProgramFolderOnlyWhenItIsTheShops() {
        QTemporaryDir program;
        QCOMPARE(ChooseDataFolder(program.path(), "/home/shop/.local/share/Harbor"),
                 program.path());
        // The system's folders are never the shop's, also for root who could write there.
        QCOMPARE(ChooseDataFolder("/usr/bin", "/home/shop/.local/share/Harbor"),
                 QString("/home/shop/.local/share/Harbor"));
        QCOMPARE(ChooseDataFolder(program.filePath("gone"), "/data"), QString("/data"));
        // A shop that already lives beside the program stays there, writable or not.
        QTemporaryDir kept;
        QFile lanset(kept.filePath("Lanset.ini"));
        QVERIFY(lanset.open(QIODevice::WriteOnly));
        lanset.close();
        QVERIFY(QFile::setPermissions(kept.path(), QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(ChooseDataFolder(kept.path(), "/data"), kept.path());
        QVERIFY(QFile::setPermissions(kept.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::remove(kept.filePath("Lanset.ini")));
        // The tests' program folder is a temporary one they can write to: a portable copy.
        QVERIFY(IsPortableCopy());
        QCOMPARE(DataFolder(), ProgramFolder());
    }

    // The first preparation makes the database and Lanset.ini and says where; the second keeps
    // them (and what was stored in them); the folder becomes the current directory, where the
    // local connection opens Harbor.accdb.
    void firstStartMakesAnEmptyShop() {
        QTemporaryDir home;
        const QString folder = home.filePath("share/Harbor");
        const QString before = QDir::currentPath();
        DataFolderSetup setup = PrepareDataFolder(folder);
        QVERIFY2(setup.ok, qPrintable(setup.message));
        QVERIFY(setup.madeShop);
        QVERIFY(setup.message.contains(folder));
        QVERIFY(QFileInfo::exists(folder + "/Harbor.accdb"));
        QFile lanset(folder + "/Lanset.ini");
        QVERIFY(lanset.open(QIODevice::ReadOnly));
        QCOMPARE(lanset.readAll(), QByteArray("0-\\\\0.0.0.0\\Harbor\\Harbor.accdb"));
        lanset.close();
        QCOMPARE(QDir::currentPath(), QFileInfo(folder).canonicalFilePath());
        const ConnectionCheck check = CheckConnection(folder + "/Lanset.ini");
        QVERIFY2(check.ok, qPrintable(check.line));
        QVERIFY(check.line.contains("商品 0 种"));

        const QDateTime made = QFileInfo(folder + "/Harbor.accdb").lastModified();
        setup = PrepareDataFolder(folder);
        QVERIFY(setup.ok);
        QVERIFY(!setup.madeShop);
        QVERIFY(setup.message.isEmpty());
        QCOMPARE(QFileInfo(folder + "/Harbor.accdb").lastModified(), made);

        // A folder that cannot be made is reported, not taken for a shop.
        QFile blocker(home.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        setup = PrepareDataFolder(home.filePath("file/Harbor"));
        QVERIFY(!setup.ok);
        QVERIFY(!setup.message.isEmpty());
        QDir::setCurrent(before);
    }

    void commandLine() {
        int code = -1;
        const QString version = RunProgram({"--version"}, &code);
        QVERIFY2(QRegularExpression("^Harbor \\d+\\.\\d+(\\.\\d+)?$").match(version).hasMatch(),
                 qPrintable(version));
        QCOMPARE(code, 0);
        const QString where = RunProgram({"--where"}, &code);
        QCOMPARE(code, 0);
        QCOMPARE(where, qEnvironmentVariable("HARBOR_PROGRAM_DIR"));
    }

    // A copy of the program keeps its files beside itself unless HARBOR_PROGRAM_DIR names
    // another folder; inside the program SetProgramFolder does the same.
    void programFolderCanBePointedElsewhere() {
        QTemporaryDir copy;
        const QString program = copy.filePath("Harbor");
        QVERIFY(QFile::copy(QStringLiteral(HARBOR_EXECUTABLE), program));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("HARBOR_PROGRAM_DIR");
        int code = -1;
        QCOMPARE(RunProgram({"--where"}, &code, program, environment), copy.path());
        QCOMPARE(code, 0);
        QTemporaryDir elsewhere;
        environment.insert("HARBOR_PROGRAM_DIR", elsewhere.path());
        QCOMPARE(RunProgram({"--where"}, &code, program, environment), elsewhere.path());
        QVERIFY(!QFileInfo::exists(copy.filePath("Lanset.ini")));

        const QString before = ProgramFolder();
        SetProgramFolder(elsewhere.path());
        QCOMPARE(DataFolder(), elsewhere.path());
        QCOMPARE(LansetPath(), elsewhere.filePath("Lanset.ini"));
        SetProgramFolder({});
        QCOMPARE(ProgramFolder(), before); // back to what the environment names
    }
};

QTEST_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
