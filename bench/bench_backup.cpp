// A copy of a shop database through the online backup, as start-up and exit take it: the time
// of the whole copy and the longest step, which is how long the window goes without painting.
//
//   bench_backup [FILE]   a demo shop of 100,000 products and 10 years is made when no FILE
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "admin/DatabaseBackup.h"
#include "admin/DemoShop.h"
#include "db/CConnection.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QString path = app.arguments().value(1);
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("Harbor.accdb"));
        std::printf("making a demo shop...\n");
        MakeDemoShop(path, DemoShopOptions());
    }
    CConnection connection;
    connection.OpenFile(path);
    std::printf("database %.1f MB\n", QFileInfo(path).size() / 1048576.0);
    for (int run = 1; run <= 3; ++run) {
        QElapsedTimer total;
        QElapsedTimer step;
        qint64 longest = 0;
        int steps = 0;
        total.start();
        step.start();
        BackupDatabaseTo(connection, dir.filePath(QStringLiteral("copy.accdb")), [&](int, int) {
            longest = qMax(longest, step.restart());
            ++steps;
        });
        std::printf("copy %d: %lld ms in %d steps, longest step %lld ms\n", run,
                    static_cast<long long>(total.elapsed()), steps,
                    static_cast<long long>(longest));
    }
    return 0;
}
