// Retrieval of relevés: the panel's scans, the putting into the table, and its other
// buttons. The scan shows its counters while it runs and can be stopped.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/retrieval_panel.h"
#include "ui/user_dialogs.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

// The counters of the panel follow the records; the work message offers the stop button.
class PanelProgress : public RetrievalProgress {
public:
    PanelProgress(RetrievalPanel* panel, WorkMessage* message, bool scanning)
        : panel_(panel), work_(message, true), scanning_(scanning) {}
    void Show(const std::string& l1, const std::string& l2) override { work_.Show(l1, l2); }
    bool Cancelled() override { return work_.Cancelled(); }
    void OnRecord(int record, int count) override {
        if (scanning_) {
            panel_->SetSearching(record);
            panel_->SetHits(count);
        }
        work_.Pump();
    }

private:
    RetrievalPanel* panel_;
    WorkProgress work_;
    bool scanning_;
};
}  // namespace

void MainWindow::Item_AddReleveClick() {
    if (busy_) return;
    ShowTableStatus();
    ws_.OpenRetrieval();
    RetrievalPanel* p = retrPanel_;
    p->SetFileName(Q(ws_.dataFileName));
    const int n = ws_.releveRecordCount;
    p->RtN1->setRange(1, qMax(1, n));
    p->RtN1->setValue(1);
    p->RtN2->setRange(0, n);
    p->RtN2->setValue(n);
    p->SetTableCounts(ws_.table.ReleveCount(), ws_.table.SpeciesCount());
    p->SetSearching(0);
    p->SetHits(0);
    p->Place();
    p->show();
    p->raise();
    p->EditGrid->setFocus();
}

void MainWindow::BtnRetrResetClick() {
    Item_AddReleveClick();
    retrPanel_->ClearConditions();
    retrPanel_->EditName[0]->setFocus();
}

// Runs one pass of the retrieval under the work message with its stop button; false when
// the pass failed (the error has been shown).
bool MainWindow::RunRetrievalPass(const char* what, bool scanning,
                                  const std::function<void(RetrievalProgress&)>& pass) {
    Busy busy(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    message_->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    message_->SetAsNote(false);
    PanelProgress progress(retrPanel_, message_, scanning);
    progress.Show(what, "");
    try {
        pass(progress);
    } catch (const std::exception& e) {
        CloseWorkMess();
        ShowError(QString(), e);
        return false;
    }
    CloseWorkMess();
    return true;
}

void MainWindow::BtnRetrNewClick(bool additional) {
    if (busy_) return;
    RetrievalPanel* p = retrPanel_;
    p->SetHits(0);
    const ScanParams params = p->Conditions(additional);
    ScanResult result;
    const bool ok = RunRetrievalPass("　データを検索しています　", true,
                                     [&](RetrievalProgress& progress) { result = ws_.Scan(params, &progress); });
    p->SetHits(ws_.retrieval.HitCount());
    if (!ok) return;
    if (result.cancelled) p->LabSerachN->setText(p->LabSerachN->text() + QStringLiteral(" 中止"));
    if (const std::string msg = SkippedRecordsMessage(result.skipped); !msg.empty())
        dialogs_->Inform(this, Q(msg));
}

void MainWindow::BtnToTableClick() {
    if (busy_) return;
    retrPanel_->hide();
    PutResult result;
    const bool ok = RunRetrievalPass("　組成表に組み込んでいます　", false,
                                     [&](RetrievalProgress& progress) { result = ws_.PutIntoTable(&progress); });
    Refresh();
    if (ok) {
        QString notes = Q(SkippedRecordsMessage(result.skipped));
        if (const std::string msg = NotPlacedRecordsMessage(result.notPlaced); !msg.empty())
            notes += (notes.isEmpty() ? QString() : QStringLiteral("\n")) + Q(msg);
        if (!notes.isEmpty()) dialogs_->Inform(this, notes);
    }
    Item_EditTitleClick();
    ShowTableStatus();
}

void MainWindow::BtnRetrQuitClick() { retrPanel_->hide(); }

void MainWindow::BtnSynToComClick() {
    for (QLineEdit* e : retrPanel_->EditName)
        if (!e->text().isEmpty()) e->setText(Q(ws_.StandardName(e->text().toStdString())));
}

void MainWindow::BtnChgFileClick() {
    Item_FileChgClick();
    Item_AddReleveClick();
}

}  // namespace tavik::ui
