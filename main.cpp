#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QStringList>
#include <cstdio>

#include "admin/ConnectionCheck.h"
#include "admin/DemoShop.h"
#include "admin/ServerSetup.h"
#include "db/AuditLog.h"
#include "db/DataFolder.h"
#include "db/DatabaseInit.h"
#include "db/LansetFile.h"
#include "db/MemoryTuning.h"
#include "db/OperatorStore.h"
#include "queries/ReportCommand.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborApplication.h"
#include "shell/CMainFrame.h"
#include "shell/HomePicture.h"
#include "shell/QtTranslation.h"
#include "ui/FontSetup.h"
#include "ui/HarborMessageBox.h"

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "Harbor                     start the program\n"
        "Harbor --init-db FILE      create an empty shop database\n"
        "Harbor --init-lanset FILE  write a Lanset.ini for this machine's database\n"
        "Harbor --make-demo FILE [--products N] [--years Y] [--documents D]\n"
        "                           write a demo shop with years of documents\n"
        "Harbor --check             connect as start-up does and say where the data is\n"
        "Harbor --report NAME [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--db FILE]\n"
        "       [--out FILE.csv|FILE.xlsx] [--days N] [--by quantity|profit]\n"
        "                           a report of the shop as CSV (NAME: profit-by-product,\n"
        "                           profit-by-class, profit-by-customer, profit-by-employee,\n"
        "                           best-sellers, slow-movers, stock-value, summary)\n"
        "Harbor --where             print the folder that holds Lanset.ini and the shop\n"
        "Harbor --make-empty        make an empty shop in that folder when it has none\n"
        "Harbor --version           print the program's version\n"
        "Harbor --write-icon SIZE FILE  write the program's icon as a PNG of SIZE pixels\n"
        "Harbor --setup-host [--from FILE] [--password PASSWORD] [--listen ADDRESS]\n"
        "       [--data-dir DIR] [--config-dir DIR] [--socket-dir DIR] [--port N]\n"
        "                           make this computer the host of the shop's database\n"
        "Harbor --lan-password [PASSWORD]  the host's own password, kept on this computer\n"
        "Harbor --audit-verify [FILE]  check the log of changes (exit 1 names the first broken "
        "entry)\n"
        "Harbor --reset-owner [FILE]   a new password for the owner's account, read from input\n");
    return 2;
}

void PrintLine(const QString& line) {
    std::printf("%s\n", line.toLocal8Bit().constData());
}

int MakeEmptyShopCommand() {
    const DataFolderSetup setup = PrepareDataFolder(DataFolder());
    if (!setup.ok) {
        std::fprintf(stderr, "%s\n", setup.message.toLocal8Bit().constData());
        return 1;
    }
    PrintLine(setup.madeShop ? setup.message
                             : QStringLiteral("%1 中已有商店,没有改动。")
                                   .arg(QDir::toNativeSeparators(DataFolder())));
    return 0;
}

// The icon of the menu entry, drawn as the main window draws its own.
int WriteIconCommand(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetupFonts();
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const int size = args.value(2).toInt(&ok);
    if (args.size() != 4 || !ok || size < 16 || size > 1024)
        return Usage();
    if (!PaintRibbonImage(0, QStringLiteral("远"), QSize(size, size)).save(args[3], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

// The init commands run without a display.
int RunInitCommand(int argc, char* argv[]) {
    if (qstrcmp(argv[1], "--write-icon") == 0)
        return WriteIconCommand(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Harbor"));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 2 && args[1] == QLatin1String("--version")) {
        PrintLine(QStringLiteral("Harbor %1").arg(QLatin1String(HARBOR_VERSION)));
        return 0;
    }
    if (args.size() == 2 && args[1] == QLatin1String("--where")) {
        PrintLine(QDir::toNativeSeparators(DataFolder()));
        return 0;
    }
    if (args.size() == 2 && args[1] == QLatin1String("--make-empty"))
        return MakeEmptyShopCommand();
    if (args.size() == 3 && args[1] == QLatin1String("--init-db"))
        return CreateEmptyDatabaseCommand(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--init-lanset"))
        return WriteInitialLanset(args[2]);
    if (args.size() >= 3 && args[1] == QLatin1String("--make-demo"))
        return MakeDemoCommand(args.mid(2));
    if (args[1] == QLatin1String("--report"))
        return ReportCommand(args.mid(2));
    if (args.size() == 2 && args[1] == QLatin1String("--check")) {
        EnterDataFolder();
        return CheckConnectionCommand(LansetPath());
    }
    // Without a file named, both work on the shop of the Lanset.ini in the data folder.
    if (args.size() <= 3 && args[1] == QLatin1String("--audit-verify")) {
        if (args.size() == 2)
            EnterDataFolder();
        return AuditVerifyCommand(args.value(2), LansetPath());
    }
    if (args.size() <= 3 && args[1] == QLatin1String("--reset-owner")) {
        if (args.size() == 2)
            EnterDataFolder();
        return ResetOwnerCommand(args.value(2), LansetPath());
    }
    if (args.size() <= 3 && args[1] == QLatin1String("--lan-password"))
        return LanPasswordCommand(args.value(2));
    if (args[1] == QLatin1String("--setup-host")) {
        SetupOptions options;
        QString error;
        if (!ParseSetupOptions(args.mid(2), &options, &error)) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            return Usage();
        }
        return RunServerSetup(options, [](const QString& line) {
            std::printf("%s\n", line.toLocal8Bit().constData());
            std::fflush(stdout);
        });
    }
    return Usage();
}

} // namespace

int main(int argc, char* argv[]) {
    TuneMemoryAllocator();
    if (argc > 1)
        return RunInitCommand(argc, argv);
    CHarborApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Harbor"));

    SetupFonts();
    InstallQtChinese(app);
    // An installed program keeps the shop in the user's data folder, made on the first start.
    DataFolderSetup setup;
    if (!IsPortableCopy())
        setup = PrepareDataFolder(DataFolder());
    if (!theApp.InitInstance())
        return 1;
    if (!setup.message.isEmpty())
        HarborMessageBox(theApp.m_pMainWnd, setup.message,
                         setup.ok ? MsgIcon::Information : MsgIcon::Exclamation);
    const int code = QApplication::exec();
    theApp.ExitInstance();
    return code;
}
