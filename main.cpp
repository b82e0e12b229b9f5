#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QStringList>
#include <cstdio>

#include "app/CHarborApp.h"
#include "app/CHarborApplication.h"
#include "app/ConnectionCheck.h"
#include "app/DatabaseInit.h"
#include "app/DemoShop.h"
#include "app/FontSetup.h"
#include "app/QtTranslation.h"
#include "app/LansetFile.h"
#include "app/MemoryTuning.h"
#include "app/ServerSetup.h"
#include "queries/ReportCommand.h"

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
        "Harbor --setup-host [--from FILE] [--password PASSWORD] [--listen ADDRESS]\n"
        "       [--data-dir DIR] [--config-dir DIR] [--socket-dir DIR] [--port N]\n"
        "                           make this computer the host of the shop's database\n"
        "Harbor --lan-password [PASSWORD]  the host's own password, kept on this computer\n");
    return 2;
}

// The init commands run without a display.
int RunInitCommand(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--init-db"))
        return CreateEmptyDatabaseCommand(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--init-lanset"))
        return WriteInitialLanset(args[2]);
    if (args.size() >= 3 && args[1] == QLatin1String("--make-demo"))
        return MakeDemoCommand(args.mid(2));
    if (args[1] == QLatin1String("--report"))
        return ReportCommand(args.mid(2));
    if (args.size() == 2 && args[1] == QLatin1String("--check"))
        return CheckConnectionCommand(LansetPath());
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
    if (!theApp.InitInstance())
        return 1;
    const int code = QApplication::exec();
    theApp.ExitInstance();
    return code;
}
