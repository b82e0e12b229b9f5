#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QStringList>
#include <cstdio>

#include "accounts/AuditLog.h"
#include "accounts/OperatorStore.h"
#include "app/CHarborApp.h"
#include "app/CHarborApplication.h"
#include "app/ConnectionCheck.h"
#include "app/DatabaseInit.h"
#include "app/DemoShop.h"
#include "app/FontSetup.h"
#include "app/LansetFile.h"
#include "app/MemoryTuning.h"
#include "app/QtTranslation.h"
#include "app/ServerSetup.h"

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
        "Harbor --setup-host [--from FILE] [--password PASSWORD] [--listen ADDRESS]\n"
        "       [--data-dir DIR] [--config-dir DIR] [--socket-dir DIR] [--port N]\n"
        "                           make this computer the host of the shop's database\n"
        "Harbor --lan-password [PASSWORD]  the host's own password, kept on this computer\n"
        "Harbor --audit-verify [FILE]  check the log of changes (exit 1 names the first broken "
        "entry)\n"
        "Harbor --reset-owner [FILE]   a new password for the owner's account, read from input\n");
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
    if (args.size() == 2 && args[1] == QLatin1String("--check"))
        return CheckConnectionCommand(LansetPath());
    if (args.size() <= 3 && args[1] == QLatin1String("--audit-verify"))
        return AuditVerifyCommand(args.value(2), LansetPath());
    if (args.size() <= 3 && args[1] == QLatin1String("--reset-owner"))
        return ResetOwnerCommand(args.value(2), LansetPath());
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
