// Undo and redo of a species sort on a 100,000-relevé by 6,000-species table, through the
// window's real command stack, and the memory a history of 100 sorts keeps. Prints one line
// per figure; no figure is asserted. Arguments: relevés, species (defaults 100000 6000).
#include <QApplication>
#include <QUndoStack>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_util.h"
#include "core/table_changes.h"
#include "tools/synthetic_table.h"
#include "ui/main_window.h"
#include "ui/undo_commands.h"

using tavik::bench::MedianMs;
using tavik::bench::Row;
using tavik::bench::RssMb;

namespace {

// A sort of every species row through the window, as the range panel's 実行 does.
void SortSpecies(tavik::ui::MainWindow& w, bool descending) {
    const int count = w.workspace().table.SpeciesCount();
    w.pushChange(QStringLiteral("植物を頻度順で並び替え"),
                 tavik::SortChange(tavik::Axis::Species, 1, count, descending));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int releves = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int species = argc > 2 ? std::atoi(argv[2]) : 6000;
    std::printf("== undo and redo, %d releves x %d species, ~30 species per releve\n", releves, species);

    tavik::ui::MainWindow w;
    tavik::tools::FillSyntheticTable(w.workspace().table, {releves, species, 30, 1});
    w.workspace().table.Recount();
    w.showTableStatus();
    QUndoStack* stack = w.undoStack();

    // Each sort turns the order round, so that every step is a real permutation.
    bool descending = true;
    Row("species sort (the command's first run)",
        MedianMs(5,
                 [&] {
                     SortSpecies(w, descending);
                     descending = !descending;
                 }),
        "ms");
    // Undo and redo taken in turns, each on its own clock.
    std::vector<double> undo, redo;
    for (int i = 0; i < 21; ++i) {
        auto a = std::chrono::steady_clock::now();
        stack->undo();
        auto b = std::chrono::steady_clock::now();
        stack->redo();
        auto c = std::chrono::steady_clock::now();
        undo.push_back(std::chrono::duration<double, std::milli>(b - a).count());
        redo.push_back(std::chrono::duration<double, std::milli>(c - b).count());
    }
    std::sort(undo.begin(), undo.end());
    std::sort(redo.begin(), redo.end());
    Row("undo of a species sort (median of 21)", undo[undo.size() / 2], "ms", 100);
    Row("redo of a species sort (median of 21)", redo[redo.size() / 2], "ms", 100);

    // The history: a hundred sorts more; what the process holds beyond the table.
    stack->clear();
    const double before = RssMb();
    for (int i = 0; i < 100; ++i) {
        SortSpecies(w, descending);
        descending = !descending;
    }
    const double after = RssMb();
    Row("steps kept in the history", stack->count(), "");
    Row("memory of a history of 100 species sorts (resident growth)", after - before, "MB", 100);
    Row("  per step", (after - before) / 100 * 1024, "KB");
    return 0;
}
