#include "ui/classification_controller.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QUndoStack>

#include "core/reciprocal_averaging.h"
#include "formats/membership_file.h"
#include "ui/classification_panel.h"
#include "ui/dendrogram_window.h"
#include "ui/qt_text.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/window_services.h"

namespace tavik::ui {

namespace {

// The override cursor for the length of a computation.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

ClassificationController::ClassificationController(WindowServices& window, QWidget* panelParent, QObject* parent)
    : QObject(parent), window_(window) {
    panel_ = new ClassificationPanel(panelParent);
    dendrogram_ = new DendrogramWindow(window.dialogParent());
    connect(panel_, &ClassificationPanel::computeRequested, this, &ClassificationController::compute);
    connect(panel_, &ClassificationPanel::placeRequested, this, &ClassificationController::placeGroups);
    connect(panel_, &ClassificationPanel::closeRequested, this, &ClassificationController::closePanel);
    connect(panel_, &ClassificationPanel::groupsChanged, this, &ClassificationController::showGroups);
    // A result belongs to the table it was computed on.
    connect(window_.undoStack(), &QUndoStack::indexChanged, this, [this] {
        if (!result_) return;
        result_.reset();
        panel_->clearResult();
    });
}

void ClassificationController::placePanel() {
    if (panel_->isVisible()) panel_->place();
}

void ClassificationController::openPanel() { panel_->open(); }

void ClassificationController::closePanel() {
    panel_->hide();
    dendrogram_->hide();
}

void ClassificationController::compute() {
    window_.recountFrequencies();
    const Table& t = window_.workspace().table;
    try {
        WaitCursor wait;
        computedWith_ = panel_->options();
        Classification c = ClassifyReleves(t, computedWith_);
        const std::vector<KScanLine> scan = ScanGroupCounts(t, c, 2, 12);
        int k = BestK(scan);
        if (k == 0) k = std::min(2, c.data.Rows());
        QStringList labels;
        for (int q : c.data.positions) labels << Q(ReleveNumber(t, q));
        dendrogram_->setTree(c.tree, labels,
                             QCoreApplication::translate("ClassificationController", "%1 の樹形図　測定 %2")
                                 .arg(Q(t.TableTitle))
                                 .arg(c.data.Rows()));
        const std::vector<int> leftOut = c.data.leftOut;
        result_ = std::move(c);
        panel_->showResult(result_->data.Rows(), scan, k);
        showGroups(k);
        dendrogram_->show();
        dendrogram_->raise();
        if (!leftOut.empty()) {
            QString names;
            for (std::size_t i = 0; i < leftOut.size() && i < 20; ++i)
                names += (i ? QCoreApplication::translate("ClassificationController", "、") : QString()) +
                         Q(ReleveNumber(t, leftOut[i]));
            if (leftOut.size() > 20)
                names +=
                    QCoreApplication::translate("ClassificationController", " ほか %1 個").arg(leftOut.size() - 20);
            window_.dialogs().inform(window_.dialogParent(),
                                     QCoreApplication::translate("ClassificationController",
                                                                 "種が残らない測定 %1 個を距離から除きました: %2")
                                         .arg(leftOut.size())
                                         .arg(names));
        }
    } catch (const std::exception& e) {
        result_.reset();
        panel_->clearResult();
        window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
    }
}

void ClassificationController::showGroups(int k) {
    if (result_) dendrogram_->setGroups(k);
}

bool ClassificationController::pushPlacement(const QString& name, const ReleveGroups& groups, int* leftOver) {
    auto change = std::make_unique<PlaceGroupsChange>(groups);
    const PlaceGroupsChange* placed = change.get();
    try {
        const bool done = window_.pushChange(name, std::move(change));
        if (done && leftOver) *leftOver = placed->LeftOver();
        return done;
    } catch (const std::exception& e) {
        // Refused before anything changed: the step never reached the history.
        window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
        return false;
    }
}

void ClassificationController::placeGroups() {
    if (!result_) return;
    const int k = panel_->groups();
    const bool byScore = panel_->orderByScore();
    const ClusterOptions options = computedWith_;
    ReleveGroups groups;
    try {
        WaitCursor wait;
        const Table& t = window_.workspace().table;
        std::vector<float> scores;
        if (byScore) scores = ReciprocalAveraging(t, false).releveScores;
        groups = GroupsOfCut(t, *result_, k, byScore ? &scores : nullptr);
    } catch (const std::exception& e) {
        window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
        return;
    }
    int leftOver = 0;
    // The step leaves a result that belongs to the table before it.
    if (!pushPlacement(QCoreApplication::translate("ClassificationController", "クラスター分析で群に分ける"), groups,
                       &leftOver))
        return;
    panel_->setOptions(options);
    window_.showNote(QCoreApplication::translate("ClassificationController", "%1 群を表に入れました").arg(k) +
                         (leftOver > 0 ? QCoreApplication::translate("ClassificationController",
                                                                     "（どの群にも入らない測定 %1 個は最後の群）")
                                             .arg(leftOver)
                                       : QString()),
                     5000);
    panel_->hide();
}

void ClassificationController::readGroups() {
    const QString path = window_.dialogs().openFileFiltered(
        window_.dialogParent(), QCoreApplication::translate("ClassificationController", "群を読み込む"),
        {QCoreApplication::translate("ClassificationController", "CSV ファイル (*.csv)"),
         QCoreApplication::translate("ClassificationController", "すべてのファイル (*)")},
        0, QStringLiteral("*.csv"), lastFolder_);
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    window_.recountFrequencies();
    ReleveGroups groups;
    int unlisted = 0;
    try {
        WaitCursor wait;
        groups = GroupsFromMembership(window_.workspace().table, ReadMembershipFile(S(path)), &unlisted);
    } catch (const std::exception& e) {
        window_.dialogs().inform(window_.dialogParent(), Q(e.what()));
        return;
    }
    if (!pushPlacement(QCoreApplication::translate("ClassificationController", "群を読み込む"), groups, nullptr))
        return;
    QString note = QCoreApplication::translate("ClassificationController", "%1 群を表に入れました").arg(groups.size());
    if (unlisted > 0)
        note += QCoreApplication::translate("ClassificationController", "（ファイルにない測定 %1 個は最後の群）")
                    .arg(unlisted);
    window_.showNote(note, 5000);
    if (unlisted > 0)
        window_.dialogs().inform(
            window_.dialogParent(),
            QCoreApplication::translate("ClassificationController",
                                        "%1 に群の書かれていない測定 %2 個を、最後の群に置きました。")
                .arg(FileNamePart(path))
                .arg(unlisted));
}

void ClassificationController::writeGroups() {
    window_.recountFrequencies();
    const std::vector<MembershipLine> lines = CurrentMembership(window_.workspace().table);
    if (lines.empty()) {
        window_.dialogs().inform(window_.dialogParent(),
                                 QCoreApplication::translate("ClassificationController",
                                                             "種のある測定がないため、書き出す群がありません。"));
        return;
    }
    const QString path = window_.dialogs().saveFileFiltered(
        window_.dialogParent(), QCoreApplication::translate("ClassificationController", "群を書き出す"),
        {QCoreApplication::translate("ClassificationController", "CSV ファイル (*.csv)")}, 0,
        QStringLiteral("groups.csv"), lastFolder_, QStringLiteral("csv"));
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    try {
        WriteMembershipFile(S(path), lines);
    } catch (const std::exception& e) {
        window_.dialogs().error(window_.dialogParent(), Q(e.what()));
        return;
    }
    window_.showNote(QCoreApplication::translate("ClassificationController", "%1 に %2 測定の群を書き出しました")
                         .arg(FileNamePart(path))
                         .arg(lines.size()),
                     5000);
}

}  // namespace tavik::ui
