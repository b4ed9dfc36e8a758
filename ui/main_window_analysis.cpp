// The analyses of the table: reciprocal averaging (the score table and, on request, the
// table ordered by the scores) and the constancy table, both shown in the second window.
#include <QAction>
#include <QTimer>

#include "core/constancy.h"
#include "core/reciprocal_averaging.h"
#include "core/table_fidelity.h"
#include "ui/background_work.h"
#include "ui/classification_controller.h"
#include "ui/constancy_panel.h"
#include "ui/freq_window.h"
#include "ui/main_window.h"
#include "ui/undo_commands.h"
#include "ui/main_window_busy.h"
#include "ui/qt_text.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

void MainWindow::buildAnalysis() {
    constancyPanel_ = new ConstancyPanel(central_);
    freqWindow_ = new FreqWindow(this);
    freqWindow_->setDialogs(dialogs_.get());
    freqWindow_->setUtf8Files(ws_.settings.utf8Files);
    connect(freqWindow_, &FreqWindow::utf8FilesChosen, this, [this](bool utf8) { ws_.settings.utf8Files = utf8; });
    connect(constancyPanel_, &ConstancyPanel::outputRequested, this, &MainWindow::makeConstancyTable);
    connect(constancyPanel_, &ConstancyPanel::cancelRequested, this, &MainWindow::cancelConstancyPanel);
    connect(actions_.reciprocalAveraging, &QAction::triggered, this, &MainWindow::reciprocalAveraging);
    connect(actions_.makeConstancyTable, &QAction::triggered, this, &MainWindow::showConstancyPanel);
    connect(actions_.showConstancyTable, &QAction::triggered, this, &MainWindow::showFreqWindow);
    classification_ = new ClassificationController(this, central_);
    connect(actions_.classify, &QAction::triggered, classification_, &ClassificationController::openPanel);
    connect(actions_.readGroups, &QAction::triggered, classification_, &ClassificationController::readGroups);
    connect(actions_.writeGroups, &QAction::triggered, classification_, &ClassificationController::writeGroups);
}

void MainWindow::reciprocalAveraging() {
    if (busy_) return;
    // A table the method cannot take is refused before the user is asked anything.
    try {
        auto busy = BusyScope::cursorOnly(this);
        if (ws_.table.SpeciesCount() == 0 || ws_.table.ReleveCount() == 0)
            throw RaRefused("種または測定がない表では反復平均法を実行できません。");
        CheckRaWeights(ws_.table, RaWeightMatrix(ws_.table, false));
    } catch (const RaRefused& e) {
        dialogs_->inform(this, Q(e.what()));
        return;
    }
    const bool dominance = dialogs_->askYesNo(this, QStringLiteral("反復平均法の計算に、優占度を考慮しますか？"));
    RaResult scores;
    {
        auto busy = BusyScope::working(this, QStringLiteral("　反復平均法 準備中　"));
        WorkProgress progress(message_, false);
        try {
            scores = ReciprocalAveraging(ws_.table, dominance, &progress);
        } catch (const RaRefused& e) {
            busy.end();
            dialogs_->inform(this, Q(e.what()));
            return;
        } catch (const std::exception& e) {
            busy.end();
            dialogs_->error(this, Q(e.what()));
            return;
        }
    }
    constancyPanel_->hide();
    // The score table keeps the order the table has now.
    freqWindow_->setUtf8Files(ws_.settings.utf8Files);
    freqWindow_->showTable(RaScoreTable(ws_.table, scores), grid_->tableFont(), false);
    actions_.showConstancyTable->setText(QStringLiteral("スコア表を再表示する"));
    if (!dialogs_->askYesNo(this, QStringLiteral("組成表の並びを変えますか？"))) return;
    {
        auto busy = BusyScope::working(this, QStringLiteral("　反復平均法 並び替え　"));
        // The order comes from the scores alone: worked out on a thread of its own while the
        // window answers, then put into the table with the recounts.
        RaOrder order;
        RunOffThread(message_, false, [&](Progress& progress) { order = RaOrderOf(scores, &progress); });
        message_->setLines(QStringLiteral("　反復平均法 並び替え　"), QStringLiteral("組成表に反映しています"));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        pushChange(QStringLiteral("反復平均法で行列並び替え"),
                   std::make_unique<ReorderChange>(true, true, [&](Table& t) -> Reordering {
                       ApplyRaOrder(t, order);
                       return {{1, std::move(order.species)}, {1, std::move(order.releves)}};
                   }));
    }
    // The scores took long to work out: the recovery file follows once the window is free.
    QTimer::singleShot(0, this, &MainWindow::writeRecovery);
    refresh();
}

void MainWindow::showConstancyPanel() {
    if (busy_) return;
    // The counts the panel shows are those of a fresh recount.
    recountFrequencies();
    ConstancyCounts counts;
    {
        auto busy = BusyScope::cursorOnly(this);
        counts = CountConstancyGroups(ws_.table);
    }
    constancyPanel_->open(counts, Q(ws_.table.TableTitle) + QStringLiteral("常在度表"));
}

void MainWindow::makeConstancyTable() {
    if (busy_) return;
    constancyPanel_->hide();
    FreqTable table;
    try {
        auto busy = BusyScope::cursorOnly(this);
        table = constancyPanel_->showFidelity()
                    ? MakeSynopticTable(ws_.table, constancyPanel_->options(), constancyPanel_->fidelityOptions())
                    : MakeConstancyTable(ws_.table, constancyPanel_->options());
    } catch (const std::exception& e) {
        // The second window keeps what it showed.
        dialogs_->inform(this, Q(e.what()));
        return;
    }
    freqWindow_->setUtf8Files(ws_.settings.utf8Files);
    freqWindow_->showTable(std::move(table), grid_->tableFont(), true);
    actions_.showConstancyTable->setText(QStringLiteral("常在度表を再表示する"));
}

void MainWindow::cancelConstancyPanel() { constancyPanel_->hide(); }

void MainWindow::showFreqWindow() { freqWindow_->reshow(); }

void MainWindow::sortByDiagnosticBlocks() {
    if (busy_) return;
    // The recount and the reorder are one step to undo; a refused reorder leaves the
    // recount alone.
    beginStep(QStringLiteral("診断種の順に組成表を並べ替える"));
    // The groups are those of a fresh recount, as the constancy table takes them.
    recountFrequencies();
    try {
        auto busy = BusyScope::cursorOnly(this);
        std::vector<int> order = DiagnosticSpeciesOrder(ws_.table, constancyPanel_->fidelityOptions());
        // One permutation of the species positions: the cells travel with their rows.
        pushChange(QStringLiteral("診断種の順に組成表を並べ替える"),
                   std::make_unique<ReorderChange>(true, true, [&](Table& t) -> Reordering {
                       t.PermuteSpecies(1, order);
                       t.Recount();
                       return {{1, std::move(order)}, {}};
                   }));
    } catch (const std::exception& e) {
        endStep();
        dialogs_->inform(this, Q(e.what()));
        return;
    }
    endStep();
    showTableStatus();
}

}  // namespace tavik::ui
