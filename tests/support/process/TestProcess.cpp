// Linked into every test program: before the first test runs, the program is pointed at a
// temporary folder of this process (its Lanset.ini, label document and backup/ land there, and
// so do the user's settings and data folders and anything written to the current folder), and
// its day is fixed, so that a run across midnight sees one day from start to end. Programs a
// test starts inherit both through the environment (HARBOR_PROGRAM_DIR, XDG_*, HARBOR_TODAY).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "text/HarborClock.h"
#include "db/ProgramFolder.h"

namespace {

QTemporaryDir* g_folder = nullptr;

void FixTheDay() {
    if (qEnvironmentVariableIsEmpty("HARBOR_TODAY"))
        qputenv("HARBOR_TODAY", HarborToday().toString(Qt::ISODate).toLatin1());
    SetHarborToday(QDate::fromString(qEnvironmentVariable("HARBOR_TODAY"), Qt::ISODate));
}

// A test program another one started (a worker it may kill) works in its parent's folder:
// a killed process leaves no folder behind.
QString TestFolder() {
    const QString parents = qEnvironmentVariable("HARBOR_TEST_FOLDER");
    if (!parents.isEmpty() && QFileInfo(parents).isDir())
        return parents;
    g_folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/harbor-test-XXXXXX"));
    if (!g_folder->isValid())
        qFatal("no temporary folder for the test: %s", qPrintable(g_folder->errorString()));
    qAddPostRoutine([] {
        delete g_folder;
        g_folder = nullptr;
    });
    qputenv("HARBOR_TEST_FOLDER", QFile::encodeName(g_folder->path()));
    return g_folder->path();
}

void EnterTestFolder() {
    const QString folder = TestFolder();
    qputenv("HARBOR_PROGRAM_DIR", QFile::encodeName(folder));
    // QSettings and QStandardPaths: nothing in the user's home, nothing shared between tests.
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QString path = folder + QLatin1Char('/') + QString::fromLatin1(name).toLower();
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    }
    SetProgramFolder(folder);
    QDir::setCurrent(folder);
    FixTheDay();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(EnterTestFolder)
