// The analyses of the table: reciprocal averaging (the score table and, on request, the
// table ordered by the scores), the constancy table, both shown in the second window, and
// the species in the order of their diagnostic blocks.
#include "ui/analysis_controller.h"

#include <QCoreApplication>
#include <QFont>

#include "core/constancy.h"
#include "core/reciprocal_averaging.h"
#include "core/table_fidelity.h"
#include "ui/background_work.h"
#include "ui/busy_scope.h"
#include "ui/constancy_panel.h"
#include "ui/freq_window.h"
#include "ui/qt_text.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/window_services.h"

namespace tavik::ui {

AnalysisController::AnalysisController(WindowServices& window, QWidget* panelParent, QWidget* windowParent,
                                       QObject* parent)
    : QObject(parent), window_(window), ws_(window.workspace()), constancyPanel_(new ConstancyPanel(panelParent)),
      freqWindow_(new FreqWindow(windowParent)) {
    freqWindow_->setDialogs(&window_.dialogs());
    freqWindow_->setUtf8Files(ws_.settings.utf8Files);
    connect(freqWindow_, &FreqWindow::utf8FilesChosen, this, [this](bool utf8) { ws_.settings.utf8Files = utf8; });
    connect(constancyPanel_, &ConstancyPanel::outputRequested, this, &AnalysisController::makeConstancyTable);
    connect(constancyPanel_, &ConstancyPanel::cancelRequested, this, &AnalysisController::cancelConstancyPanel);
}

void AnalysisController::reciprocalAveraging() {
    if (window_.isBusy()) return;
    // A table the method cannot take is refused before the user is asked anything. The
    // check reads every cell: it runs beside the window, which is locked meanwhile.
    try {
        if (ws_.table.SpeciesCount() == 0 || ws_.table.ReleveCount() == 0)
            throw RaRefused(S(QCoreApplication::translate("AnalysisController",
                                                          "種または測定がない表では反復平均法を実行できません。")));
        auto busy =
            BusyScope::working(&window_, QCoreApplication::translate("AnalysisController", "　反復平均法 準備中　"));
        const Table& table = ws_.table;
        RunOffThread(window_.workMessage(), false,
                     [&table](Progress&) { CheckRaWeights(table, RaWeightMatrix(table, false)); });
    } catch (const RaRefused& e) {
        window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
        return;
    }
    const bool dominance = window_.dialogs().askYesNo(
        window_.dialogParent(),
        QCoreApplication::translate("AnalysisController", "反復平均法の計算に、優占度を考慮しますか？"));
    RaResult scores;
    {
        auto busy =
            BusyScope::working(&window_, QCoreApplication::translate("AnalysisController", "　反復平均法 準備中　"));
        const Table& table = ws_.table;
        try {
            RunOffThread(window_.workMessage(), false,
                         [&](Progress& progress) { scores = ReciprocalAveraging(table, dominance, &progress); });
        } catch (const RaRefused& e) {
            busy.end();
            window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
            return;
        } catch (const std::exception& e) {
            busy.end();
            window_.dialogs().error(window_.dialogParent(), Q(e.what()));
            return;
        }
    }
    constancyPanel_->hide();
    // The score table keeps the order the table has now.
    freqWindow_->setUtf8Files(ws_.settings.utf8Files);
    freqWindow_->showTable(RaScoreTable(ws_.table, scores), window_.tableFont(), false);
    emit tableShown(QCoreApplication::translate("AnalysisController", "スコア表を再表示する"));
    if (!window_.dialogs().askYesNo(window_.dialogParent(),
                                    QCoreApplication::translate("AnalysisController", "組成表の並びを変えますか？")))
        return;
    {
        auto busy =
            BusyScope::working(&window_, QCoreApplication::translate("AnalysisController", "　反復平均法 並び替え　"));
        // The order comes from the scores alone: worked out on a thread of its own while the
        // window answers, then put into the table with the recounts.
        RaOrder order;
        RunOffThread(window_.workMessage(), false, [&](Progress& progress) { order = RaOrderOf(scores, &progress); });
        window_.workMessage()->setLines(QCoreApplication::translate("AnalysisController", "　反復平均法 並び替え　"),
                                        QCoreApplication::translate("AnalysisController", "組成表に反映しています"));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // Put in on the window's thread, the table being the window's: one pass over the
        // cells at a time, the message shown between them.
        WorkProgress steps(window_.workMessage(), false);
        window_.pushChange(QCoreApplication::translate("AnalysisController", "反復平均法で行列並び替え"),
                           std::make_unique<ReorderChange>(true, true, [&](Table& t) -> Reordering {
                               ApplyRaOrder(t, order, &steps);
                               return {{1, std::move(order.species)}, {1, std::move(order.releves)}};
                           }));
    }
    // The scores took long to work out: the recovery file follows once the window is free.
    window_.writeRecoveryLater();
    window_.refresh();
}

void AnalysisController::showConstancyPanel() {
    if (window_.isBusy()) return;
    ConstancyCounts counts;
    {
        auto busy =
            BusyScope::working(&window_, QCoreApplication::translate("AnalysisController", "　常在度表 準備中　"));
        // The counts the panel shows are those of a fresh recount; the groups are counted
        // beside the window.
        window_.recountFrequencies();
        const Table& table = ws_.table;
        RunOffThread(window_.workMessage(), false, [&](Progress&) { counts = CountConstancyGroups(table); });
    }
    // The title proposed is the table's with the name of the output after it.
    const QString tableTitle = Q(ws_.table.TableTitle);
    constancyPanel_->open(
        counts, tableTitle.isEmpty() ? QCoreApplication::translate("AnalysisController", "常在度表")
                                     : QCoreApplication::translate("AnalysisController", "%1常在度表").arg(tableTitle));
}

void AnalysisController::makeConstancyTable() {
    if (window_.isBusy()) return;
    constancyPanel_->hide();
    FreqTable table;
    try {
        auto busy =
            BusyScope::working(&window_, QCoreApplication::translate("AnalysisController", "　常在度表を作成中　"));
        const Table& t = ws_.table;
        const bool fidelity = constancyPanel_->showFidelity();
        const ConstancyOptions options = constancyPanel_->options();
        const FidelityOptions fidelityOptions = constancyPanel_->fidelityOptions();
        RunOffThread(window_.workMessage(), false, [&](Progress& progress) {
            table = fidelity ? MakeSynopticTable(t, options, fidelityOptions, &progress)
                             : MakeConstancyTable(t, options, &progress);
        });
    } catch (const std::exception& e) {
        // The second window keeps what it showed.
        window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
        return;
    }
    freqWindow_->setUtf8Files(ws_.settings.utf8Files);
    freqWindow_->showTable(std::move(table), window_.tableFont(), true);
    emit tableShown(QCoreApplication::translate("AnalysisController", "常在度表を再表示する"));
}

void AnalysisController::cancelConstancyPanel() { constancyPanel_->hide(); }

void AnalysisController::showFreqWindow() { freqWindow_->reshow(); }

void AnalysisController::sortByDiagnosticBlocks() {
    if (window_.isBusy()) return;
    // The recount and the reorder are one step to undo; a refused reorder leaves the
    // recount alone.
    window_.beginStep(QCoreApplication::translate("AnalysisController", "診断種の順に組成表を並べ替える"));
    // The groups are those of a fresh recount, as the constancy table takes them.
    window_.recountFrequencies();
    try {
        auto busy = BusyScope::cursorOnly(&window_);
        std::vector<int> order = DiagnosticSpeciesOrder(ws_.table, constancyPanel_->fidelityOptions());
        // One permutation of the species positions: the cells travel with their rows.
        window_.pushChange(QCoreApplication::translate("AnalysisController", "診断種の順に組成表を並べ替える"),
                           std::make_unique<ReorderChange>(true, true, [&](Table& t) -> Reordering {
                               t.PermuteSpecies(1, order);
                               t.Recount();
                               return {{1, std::move(order)}, {}};
                           }));
    } catch (const std::exception& e) {
        window_.endStep();
        window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
        return;
    }
    window_.endStep();
    window_.showTableStatus();
}

}  // namespace tavik::ui
