// Retrieval of relevés: the panel's scans, the putting into the table, and its other
// buttons. The scan shows its counters while it runs and can be stopped.
#include "ui/retrieval_controller.h"

#include <QCoreApplication>

#include <exception>

#include "ui/busy_scope.h"
#include "ui/qt_text.h"
#include "ui/retrieval_panel.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/window_services.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
// The counters of the panel follow the records; the work message offers the stop button.
class PanelProgress : public RetrievalProgress {
public:
    PanelProgress(RetrievalPanel* panel, WorkMessage* message, bool scanning)
        : panel_(panel), work_(message, true), scanning_(scanning) {}
    void Show(const std::string& l1, const std::string& l2) override { work_.Show(l1, l2); }
    bool Cancelled() override { return work_.Cancelled(); }
    void OnRecord(int record, int count) override {
        if (scanning_) {
            panel_->setSearching(record);
            panel_->setHits(count);
        }
        work_.pump();
    }

private:
    RetrievalPanel* panel_;
    WorkProgress work_;
    bool scanning_;
};
}  // namespace

RetrievalController::RetrievalController(WindowServices& window, QWidget* panelParent, QObject* parent)
    : QObject(parent), window_(window), ws_(window.workspace()), panel_(new RetrievalPanel(panelParent)) {
    RetrievalPanel* r = panel_;
    connect(r, &RetrievalPanel::scanRequested, this, &RetrievalController::scanFieldData);
    connect(r, &RetrievalPanel::resetRequested, this, &RetrievalController::resetRetrieval);
    connect(r, &RetrievalPanel::putIntoTableRequested, this, &RetrievalController::putIntoTable);
    connect(r, &RetrievalPanel::closeRequested, this, &RetrievalController::closeRetrievalPanel);
    connect(r, &RetrievalPanel::standardNamesRequested, this, &RetrievalController::convertToStandardNames);
    connect(r, &RetrievalPanel::changeFileRequested, this, &RetrievalController::dataFileChangeRequested);
}

void RetrievalController::showRetrievalPanel() {
    if (window_.isBusy()) return;
    window_.showTableStatus();
    ws_.OpenRetrieval();
    RetrievalPanel* p = panel_;
    p->setFileName(ShownFileName(ws_.dataFileName, Workspace::kNoFileName));
    p->setRecordCount(ws_.releveRecordCount);
    p->setTableCounts(ws_.table.ReleveCount(), ws_.table.SpeciesCount());
    p->setSearching(0);
    p->setHits(0);
    p->place();
    p->show();
    p->raise();
    p->focusMeshPrefix();
}

void RetrievalController::resetRetrieval() {
    showRetrievalPanel();
    panel_->clearConditions();
    panel_->focusFirstName();
}

// Runs one pass of the retrieval under the work message with its stop button; false when
// the pass failed (the error has been shown).
bool RetrievalController::runRetrievalPass(const QString& what, bool scanning,
                                           const std::function<void(RetrievalProgress&)>& pass) {
    auto busy = BusyScope::working(&window_, {}, Qt::BusyCursor);
    PanelProgress progress(panel_, window_.workMessage(), scanning);
    progress.Show(S(what), "");
    try {
        pass(progress);
    } catch (const std::exception& e) {
        busy.end();
        window_.showError(QString(), e);
        return false;
    }
    return true;
}

void RetrievalController::scanFieldData(bool additional) {
    if (window_.isBusy()) return;
    RetrievalPanel* p = panel_;
    p->setHits(0);
    const ScanParams params = p->conditions(additional);
    ScanResult result;
    const bool ok = runRetrievalPass(QCoreApplication::translate("RetrievalController", "　データを検索しています　"),
                                     true, [&](RetrievalProgress& progress) { result = ws_.Scan(params, &progress); });
    p->setHits(ws_.retrieval.HitCount());
    if (!ok) return;
    if (result.cancelled) p->markStopped();
    if (const std::string msg = SkippedRecordsMessage(result.skipped); !msg.empty())
        window_.dialogs().inform(window_.dialogParent(), Q(msg));
}

void RetrievalController::putIntoTable() {
    if (window_.isBusy()) return;
    panel_->hide();
    PutResult result;
    // The relevés put in and the title given after are one step to undo.
    window_.beginStep(QCoreApplication::translate("RetrievalController", "表にデータを加える"));
    const bool ok =
        runRetrievalPass(QCoreApplication::translate("RetrievalController", "　組成表に組み込んでいます　"), false,
                         [&](RetrievalProgress& progress) {
                             // A pass that fails half-way still leaves a step: what it put in can be taken out.
                             std::exception_ptr failed;
                             // Nothing put in, nothing recounted and the same codes: no step.
                             window_.pushChange(QCoreApplication::translate("RetrievalController", "表へのデータ追加"),
                                                std::make_unique<AppendChange>([&](Table&) {
                                                    try {
                                                        result = ws_.PutIntoTable(&progress);
                                                    } catch (...) {
                                                        failed = std::current_exception();
                                                    }
                                                    return CodeDigits{result.lastCodeK, result.lastCodeD};
                                                }));
                             if (failed) std::rethrow_exception(failed);
                         });
    window_.refresh();
    if (ok) {
        QString notes = Q(SkippedRecordsMessage(result.skipped));
        if (const std::string msg = NotPlacedRecordsMessage(result.notPlaced); !msg.empty())
            notes += (notes.isEmpty() ? QString() : QStringLiteral("\n")) + Q(msg);
        if (!notes.isEmpty()) window_.dialogs().inform(window_.dialogParent(), notes);
    }
    window_.editTitle();
    window_.endStep();
    // Retrieval is long work: the recovery file follows once the window is free again.
    window_.writeRecoveryLater();
    window_.showTableStatus();
}

void RetrievalController::closeRetrievalPanel() { panel_->hide(); }

void RetrievalController::convertToStandardNames() {
    QStringList names = panel_->names();
    for (QString& n : names)
        if (!n.isEmpty()) n = Q(ws_.StandardName(S(n)));
    panel_->setNames(names);
}

}  // namespace tavik::ui
