// Start-up to the painted main window: the program's window against a minimal QMainWindow
// with a status bar.
//
// Each start is a fresh process (this program run with --child harbor or --child minimal), so
// that libraries, fonts, styles and caches are loaded as on a real start. The parent measures
// from starting the process until the child reports that its window has been shown, painted
// and the event loop drained; the child also reports its own time from the entry of main().
// The two kinds run interleaved 7 times; the medians and their ratio are printed. Runs
// offscreen unless QT_QPA_PLATFORM says otherwise.
#include "db/MemoryTuning.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborApplication.h"
#include "shell/CMainFrame.h"
#include "ui/FontSetup.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 7;

// Notes the first paint of a window.
class PaintWatch : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void WaitUntilPainted(QWidget* window, PaintWatch& watch) {
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    window->repaint(); // nothing left half-drawn
}

int RunChild(const char* kind, int argc, char* argv[], const QElapsedTimer& sinceMain) {
    const bool harbor = std::strcmp(kind, "harbor") == 0;
    std::unique_ptr<QApplication> app;
    if (harbor) {
        TuneMemoryAllocator(); // what the program's main() does first
        app = std::make_unique<CHarborApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }
    PaintWatch watch;
    std::unique_ptr<QMainWindow> window;
    if (harbor) {
        // What the program's start does before it connects to the database.
        SetupFonts();
        theApp.m_strStartDate = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        auto frame = std::make_unique<CMainFrame>();
        frame->installEventFilter(&watch);
        frame->showMaximized();
        frame->RepaintNow();
        window = std::move(frame);
    } else {
        window = std::make_unique<QMainWindow>();
        window->setWindowTitle(QStringLiteral("Minimal"));
        window->setCentralWidget(new QWidget);
        window->statusBar()->addWidget(new QLabel(QStringLiteral("ready")));
        window->installEventFilter(&watch);
        window->showMaximized();
    }
    WaitUntilPainted(window.get(), watch);
    std::printf("%.3f\n", sinceMain.nsecsElapsed() / 1e6);
    // To look at what was measured: HARBOR_BENCH_PICTURE=file.png
    if (const QString picture = qEnvironmentVariable("HARBOR_BENCH_PICTURE"); !picture.isEmpty())
        window->grab().save(picture);
    std::fflush(stdout);
    window.reset();
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct StartTimes {
    double process = -1; // from starting the process
    double inMain = -1;  // from the entry of main()
};

StartTimes StartChild(const QString& program, const char* kind) {
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    child.start(program, {QStringLiteral("--child"), QString::fromLatin1(kind)});
    StartTimes times;
    if (!child.waitForReadyRead(120000)) {
        std::fprintf(stderr, "the %s start failed\n", kind);
        return times;
    }
    times.process = timer.nsecsElapsed() / 1e6;
    child.waitForFinished(120000);
    times.inMain = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble();
    return times;
}

int RunParent(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    std::vector<double> harbor, minimal, harborMain, minimalMain;
    for (int run = 0; run < Runs; ++run) {
        const StartTimes h = StartChild(program, "harbor");
        const StartTimes m = StartChild(program, "minimal");
        harbor.push_back(h.process);
        minimal.push_back(m.process);
        harborMain.push_back(h.inMain);
        minimalMain.push_back(m.inMain);
        std::printf("run %d: main window %7.1f ms (%6.1f in main), minimal window %7.1f ms (%6.1f "
                    "in main)\n",
                    run + 1, h.process, h.inMain, m.process, m.inMain);
        std::fflush(stdout);
    }
    const double h = Median(harbor), m = Median(minimal);
    const double hMain = Median(harborMain), mMain = Median(minimalMain);
    std::printf("start-up to the painted window (median of %d runs)\n", Runs);
    std::printf("main window time:     %7.1f ms   (from main(): %6.1f ms)\n", h, hMain);
    std::printf("minimal window time:  %7.1f ms   (from main(): %6.1f ms)\n", m, mMain);
    std::printf("ratio main/minimal:   %7.2f      (from main(): %6.2f)\n", h / m, hMain / mMain);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2], argc, argv, sinceMain);
    return RunParent(argc, argv);
}
