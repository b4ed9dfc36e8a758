// The window at 100,000 relevés x 6,000 species: how long each command takes and the
// longest time the window's event loop went without answering meanwhile, measured by a
// probe timer that asks to run every 5 ms. Each gap of more than 100 ms is listed with the
// work message's lines as they stood when the loop answered again; the longest gap while no
// work message was in sight is given apart, with the processor time of the whole process
// (which a machine busy with other work stretches less than the clock) and the load
// average. Prints figures; none is asserted. Arguments: relevés, species (defaults 100000
// 6000), a folder for the files, and "commands" to leave out the files.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/table_changes.h"
#include "tools/synthetic_table.h"
#include "ui/constancy_panel.h"
#include "ui/main_window.h"
#include "ui/panels.h"
#include "ui/range_controller.h"
#if __has_include("ui/analysis_controller.h")
#include "ui/analysis_controller.h"
#endif
#include "ui/user_dialogs.h"
#include "ui/work_message.h"
// The commands reached through their controllers where the window has them.
#if __has_include("ui/analysis_controller.h")
#define TAVIK_ANALYSIS(w) (w).analysis()
#else
#define TAVIK_ANALYSIS(w) (&(w))
#endif
#if __has_include("ui/table_history.h")
#include "ui/table_history.h"
#define TAVIK_HISTORY(w) (w).history()
#else
#define TAVIK_HISTORY(w) (&(w))
#endif
#if __has_include("ui/file_controller.h")
#include "ui/file_controller.h"
#define TAVIK_HAS_FILE_CONTROLLER 1
#endif

namespace {

// Answers every question yes and every file dialog with the next name.
class Answers : public tavik::ui::UserDialogs {
public:
    QStringList files;
    QString openFile(QWidget*, const QString&, int, const QString&, const QString&) override { return next(); }
    QString saveFile(QWidget*, const QString&, int, const QString&, const QString&, const QString&) override {
        return next();
    }
    bool askYesNo(QWidget*, const QString&) override { return true; }
    bool askYesAbort(QWidget*, const QString&) override { return true; }
    SaveChoice askSaveChanges(QWidget*, const QString&) override { return SaveChoice::Discard; }
    bool askRestore(QWidget*, const QString&) override { return false; }
    void inform(QWidget*, const QString& text) override { std::printf("  (inform: %s)\n", qPrintable(text)); }
    void error(QWidget*, const QString& text) override { std::printf("  (error: %s)\n", qPrintable(text)); }

private:
    QString next() { return files.isEmpty() ? QString() : files.takeFirst(); }
};

// The probe: a timer that wants to run every 5 ms; the time between two runs is how long
// the event loop left it waiting.
class Probe {
public:
    explicit Probe(tavik::ui::MainWindow& w) : w_(w) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        gaps_.clear();
        longest_ = 0;
        longestUnshown_ = 0;
        shownBefore_ = false;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    void stop() {
        tick();
        timer_.stop();
    }
    double longest() const { return longest_; }
    // The longest gap at whose start and end no work message was in sight.
    double longestUnshown() const { return longestUnshown_; }
    void printGaps() const {
        for (const auto& g : gaps_) std::printf("      gap %7.0f ms before %s\n", g.first, g.second.c_str());
    }

private:
    void tick() {
        const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
        const double gap = now - last_;
        last_ = now;
        longest_ = std::max(longest_, gap);
        const auto* m = w_.workMessage();
        const bool shown = m->isVisible();
        // Unshown: no message in sight when the wait began nor when it ended.
        if (!shown && !shownBefore_) longestUnshown_ = std::max(longestUnshown_, gap);
        shownBefore_ = shown;
        if (gap > 100) {
            std::string where = m->isVisible()
                                    ? (m->line1() + QStringLiteral(" / ") + m->line2()).simplified().toStdString()
                                    : std::string("(no work message)");
            gaps_.emplace_back(gap, where);
        }
    }
    tavik::ui::MainWindow& w_;
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = 0, longest_ = 0, longestUnshown_ = 0;
    bool shownBefore_ = false;
    std::vector<std::pair<double, std::string>> gaps_;
};

double ProcessCpuMs() {
    timespec c{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c);
    return static_cast<double>(c.tv_sec) * 1e3 + static_cast<double>(c.tv_nsec) / 1e6;
}

// The load average of the last minute.
std::string LoadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly)) return "?";
    return f.readAll().split(' ').value(0).toStdString();
}

// Runs `command` from the event loop, as a menu would, and waits until `done` holds.
template <class Command, class Done>
void Measure(const char* what, [[maybe_unused]] tavik::ui::MainWindow& w, Probe& probe, Command command, Done done) {
    QElapsedTimer clock;
    QEventLoop loop;
    double took = 0, cpu = 0;
    probe.start();
    QTimer::singleShot(20, [&] {
        clock.start();
        const double cpu0 = ProcessCpuMs();
        command();
        while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        took = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        cpu = ProcessCpuMs() - cpu0;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
    });
    loop.exec();
    probe.stop();
    std::printf("%-52s %9.0f ms (processor %7.0f)   longest gap %7.0f ms, without a message %7.0f ms   load %s\n", what,
                took, cpu, probe.longest(), probe.longestUnshown(), LoadAverage().c_str());
    probe.printGaps();
    std::fflush(stdout);
#ifdef TAVIK_HAS_FILE_CONTROLLER
    // A command over two seconds writes the recovery file after it, beside the window: that
    // write is let finish before the next command is timed, as the older build's write
    // was part of the command itself.
    QCoreApplication::processEvents();
    if (w.files()->recoveryWriting())
        std::printf("    then the recovery file: the window's copy of the table %lld ms\n",
                    static_cast<long long>(w.files()->lastSnapshotMs()));
    w.files()->waitForRecovery();
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString dir = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::tempPath();
    qputenv("TAVIK_RECOVERY_DIR", QDir(dir).filePath(QStringLiteral("recovery")).toLocal8Bit());
    QApplication app(argc, argv);
    const int releves = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int species = argc > 2 ? std::atoi(argv[2]) : 6000;
    std::printf("== the window, %d releves x %d species, 24 species per releve\n", releves, species);

    tavik::ui::MainWindow w;
    auto answers = std::make_unique<Answers>();
    Answers* a = answers.get();
    w.setDialogs(std::move(answers));
    w.start({}, QDir(dir).filePath(QStringLiteral("tavik")));
    w.setRecoveryInterval(0);
    w.show();
    tavik::tools::FillSyntheticTable(w.workspace().table, {releves, species, 24, 1});
    w.workspace().table.Recount();
    w.showTableStatus();
    // A change, so that there is something unsaved for the recovery file.
    w.pushChange(QStringLiteral("植物を頻度順で並び替え"),
                 tavik::SortChange(tavik::Axis::Species, 1, w.workspace().table.SpeciesCount(), true));
    Probe probe(w);
    QCoreApplication::processEvents();

    // With a fourth argument "commands", only the commands after the files.
    const bool files = !(argc > 4 && std::string(argv[4]) == "commands");
    if (files) {
#ifdef TAVIK_HAS_FILE_CONTROLLER
        Measure(
            "recovery file written (from the command to its end)", w, probe, [&] { w.writeRecovery(); },
            [&] { return !w.files()->recoveryWriting(); });
        std::printf("    the window's copy of the table for it: %lld ms, file %.1f MB\n",
                    static_cast<long long>(w.files()->lastSnapshotMs()),
                    static_cast<double>(QFileInfo(w.recoveryPath()).size()) / 1048576.0);
        {
            // The copy alone, on the clock and in processor time (which a busy machine does not
            // stretch).
            timespec c0{}, c1{};
            QElapsedTimer clock;
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
            clock.start();
            const tavik::Table copy = w.workspace().table;
            const double wall = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
            const double cpu =
                static_cast<double>(c1.tv_sec - c0.tv_sec) * 1e3 + static_cast<double>(c1.tv_nsec - c0.tv_nsec) / 1e6;
            std::printf("    a copy of the table on its own: %.0f ms, processor %.0f ms (%d releves)\n", wall, cpu,
                        copy.ReleveCount());
        }
#else
        Measure(
            "recovery file written", w, probe, [&] { w.writeRecovery(); }, [] { return true; });
        std::printf("    file %.1f MB\n", static_cast<double>(QFileInfo(w.recoveryPath()).size()) / 1048576.0);
#endif
        for (const char* form : {"vtb.zst", "vtb.gz"}) {
            const QString path = QDir(dir).filePath(QStringLiteral("window.") + QLatin1String(form));
            QFile::remove(path);
            a->files = {path};
            Measure(
                qPrintable(QStringLiteral("save as .%1").arg(QLatin1String(form))), w, probe, [&] { w.saveTable(); },
                [] { return true; });
            Measure(
                qPrintable(QStringLiteral("load .%1").arg(QLatin1String(form))), w, probe, [&] { w.loadTable(path); },
                [] { return true; });
            QFile::remove(path);
        }
    }
    Measure(
        "reciprocal averaging with dominance, and the reorder", w, probe,
        [&] { TAVIK_ANALYSIS(w)->reciprocalAveraging(); }, [] { return true; });
    Measure(
        "undo of the reorder", w, probe, [&] { TAVIK_HISTORY(w)->undo(); }, [] { return true; });
    Measure(
        "redo of the reorder", w, probe, [&] { TAVIK_HISTORY(w)->redo(); }, [] { return true; });
    Measure(
        "constancy: the panel (with its recount)", w, probe, [&] { TAVIK_ANALYSIS(w)->showConstancyPanel(); },
        [] { return true; });
    Measure(
        "constancy: the table", w, probe, [&] { TAVIK_ANALYSIS(w)->makeConstancyTable(); }, [] { return true; });
    // The sorts as the range panel starts them, over every line.
    auto sort = [&](bool species, bool descending) {
        if (species) w.ranges()->sortSpecies();
        else w.ranges()->sortReleves();
        w.ranges()->panel()->setDescending(descending);
        w.ranges()->applyRange();
    };
    Measure(
        "species sort by frequency", w, probe, [&] { sort(true, false); }, [] { return true; });
    Measure(
        "relevé sort by number of species", w, probe, [&] { sort(false, false); }, [] { return true; });
    Measure(
        "undo of the relevé sort", w, probe, [&] { TAVIK_HISTORY(w)->undo(); }, [] { return true; });
    Measure(
        "redo of the relevé sort", w, probe, [&] { TAVIK_HISTORY(w)->redo(); }, [] { return true; });
    const int steps = w.undoStack()->count();
    Measure(
        "the same relevé sort again (nothing moves)", w, probe, [&] { sort(false, false); }, [] { return true; });
    std::printf("    steps to undo before %d, after %d\n", steps, w.undoStack()->count());
    w.undoStack()->setClean();
    w.close();
    return 0;
}
