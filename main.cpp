#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QStringList>
#include <cstdio>

#include "app/CHarborApp.h"
#include "app/CHarborApplication.h"
#include "app/DatabaseInit.h"
#include "app/DemoShop.h"
#include "app/FontSetup.h"
#include "app/LansetFile.h"
#include "app/MemoryTuning.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "Harbor                     start the program\n"
                 "Harbor --init-db FILE      create an empty shop database\n"
                 "Harbor --init-lanset FILE  write a Lanset.ini for this machine's database\n"
                 "Harbor --make-demo FILE [--products N] [--years Y] [--documents D]\n"
                 "                           write a demo shop with years of documents\n");
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
    if (!theApp.InitInstance())
        return 1;
    const int code = QApplication::exec();
    theApp.ExitInstance();
    return code;
}
