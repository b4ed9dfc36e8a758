// The main window's construction, start-up, status line, work message and shutdown.
#include "ui/main_window.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

#include <utility>

#include "formats/atomic_file.h"
#include "ui/about_box.h"
#include "ui/analysis_controller.h"
#include "ui/busy_scope.h"
#include "ui/classification_controller.h"
#include "ui/command_line.h"
#include "ui/constancy_panel.h"
#include "ui/data_sources.h"
#include "ui/editing_controller.h"
#include "ui/file_controller.h"
#include "ui/freq_window.h"
#include "ui/grid_pointer.h"
#include "ui/grid_widget.h"
#include "ui/output_controller.h"
#include "ui/output_panel.h"
#include "ui/panels.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"
#include "ui/status_line.h"
#include "ui/user_dialogs.h"
#include "ui/version.h"
#include "ui/window_place.h"
#include "ui/work_message.h"

namespace tavik::ui {

// ---- Construction ----------------------------------------------------------------------------

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), dialogs_(new UserDialogs) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(ProgramIcon());
    central_ = new QWidget(this);
    central_->setObjectName(QStringLiteral("gridArea"));
    auto* lay = new QVBoxLayout(central_);
    lay->setContentsMargins(0, 0, 0, 0);
    grid_ = new CompositionGrid(central_);
    grid_->setObjectName(QStringLiteral("compositionGrid"));
    lay->addWidget(grid_);
    setCentralWidget(central_);
    central_->installEventFilter(this);
    history_ = new TableHistory(*this, this);

    buildPanels();
    buildMenus();
    status_ = new StatusLine(this);
    setStatusBar(status_);
    buildControllers();
    files_ = new FileController(this);
    sources_ = new DataSources(this);
    connectMenus();
    connectHistory();

    grid_->setTable(&ws_.table);
    resize(724, 538);
}

MainWindow::~MainWindow() {
    // The grid points at the workspace's table: let it go first. The stack's last signals
    // find no window to update.
    history_->disconnect(this);
    undoStack()->disconnect(this);
    if (grid_) grid_->setTable(nullptr);
}

void MainWindow::setDialogs(std::unique_ptr<UserDialogs> dialogs) {
    dialogs_ = std::move(dialogs);
    if (analysis_) analysis_->freqWindow()->setDialogs(dialogs_.get());
}

void MainWindow::showNote(const QString& text, int ms) { status_->showNote(text, ms); }

// ---- Start-up ----------------------------------------------------------------------------------

void MainWindow::start(const QStringList& args, const QString& programPath) {
    programPath_ = programPath;
    const QString defaultIni = Q(DefaultIniPath(programPath.toStdString()));
    const StartRequest req = ParseCommandLine(args, defaultIni);
    try {
        ws_.Start(req.iniPath.toStdString());
    } catch (const std::exception& e) {
        showError(QCoreApplication::translate("MainWindow", "設定ファイルを読込めません。"), e);
    }
    ws_.iniFileName = req.iniPath.toStdString();
    // A save that was killed leaves its hidden temporary behind; ours older than a day go
    // from the folders this start works in.
    for (const QString& folder : {QFileInfo(req.iniPath).absolutePath(), Q(ws_.settings.directory),
                                  req.tablePath.isEmpty() ? QString() : QFileInfo(req.tablePath).absolutePath()})
        if (!folder.isEmpty()) RemoveStaleTemporaries(folder.toStdString());
    applyWindowSettings();
    modelWasReset();
    layoutRenewed();
    showTableStatus();
    if (!req.refused.isEmpty())
        dialogs_->inform(this,
                         QCoreApplication::translate("MainWindow",
                                                     "起動時に指定できるのは設定ファイル（.ini）、保存した表（.vtb）と"
                                                     "データファイル（.tki）を一つずつです。次の指定は使いません：\n%1")
                             .arg(req.refused.join(QLatin1Char('\n'))));
    // A table left behind by a crash comes before the one named on the command line.
    const bool restored = startUndoAndRecovery();
    if (!restored && !req.tablePath.isEmpty()) {
        openDialogName_ = req.tablePath;
        // The window shows itself first; a large table then loads with its progress in view.
        startTable_ = req.tablePath;
        QTimer::singleShot(0, this, &MainWindow::openStartTable);
    }
    if (!req.dataPath.isEmpty()) setDataFile(req.dataPath);
}

void MainWindow::openStartTable() {
    if (startTable_.isEmpty()) return;
    const QString path = std::exchange(startTable_, QString());
    loadTable(path);
    // The table the program starts with is no step to undo.
    undoStack()->clear();
}

void MainWindow::applyWindowSettings() {
    const QScreen* sc = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect place = WindowPlace(ws_.settings, sc ? sc->availableGeometry() : QRect());
    resize(place.size());
    move(place.topLeft());
}

// ---- Status -----------------------------------------------------------------

void MainWindow::showTableStatus() {
    const Table& t = ws_.table;
    // An asterisk in front while the table holds changes not saved.
    const bool changed = !undoStack()->isClean();
    setWindowTitle((changed ? QStringLiteral("*") : QString()) + QStringLiteral(" Vegetation Table Processing Ver.") +
                   ProgramVersionText() + QStringLiteral("    ") + Q(t.TableTitle));
    status_->showTable(t, ShownFileName(ws_.dictFileName, Workspace::kNoFileName), openDialogName_);
    const bool has = t.ReleveCount() > 0;
    for (QAction* a : {actions_.saveTable, actions_.outputTable, actions_.valueMatrix, actions_.pcordCsv,
                       actions_.siteData, actions_.reciprocalAveraging, actions_.makeConstancyTable})
        a->setEnabled(has);
    refresh();
}

QFont MainWindow::tableFont() const { return grid_->tableFont(); }

void MainWindow::setBusy(bool locked) {
    if (locked) busy_ = true;
    menuBar()->setEnabled(!locked);
    for (QWidget* x : {static_cast<QWidget*>(grid_), static_cast<QWidget*>(retrieval_->panel()),
                       static_cast<QWidget*>(ranges_->panel()), static_cast<QWidget*>(editing_->searchPanel())})
        x->setEnabled(!locked);
    output_->panel()->setEnabled(!locked);
    if (!locked) busy_ = false;
}

void MainWindow::writeRecoveryLater() { QTimer::singleShot(0, this, &MainWindow::writeRecovery); }

void MainWindow::refresh() {
    grid_->onTableChanged();
    grid_->viewport()->update();
}

void MainWindow::modelWasReset() { grid_->setSearchHits({}); }

void MainWindow::layoutRenewed() {
    ranges_->reset();
    keysShown_ = false;
    if (!message_->isHidden() && !busy_) message_->hide();
    ranges_->setGridForMode();
    // The current cell starts at the first species of the first relevé.
    grid_->setCurrentCell(4, ws_.table.FNRow() + 1);
    updateTicks();
}

void MainWindow::updateTicks() {
    actions_.hideRanges->setChecked(ranges_->rangesHidden());
    actions_.hideSiteRows->setChecked(ranges_->siteRowsHidden());
    actions_.useEmbeddedItems->setChecked(ws_.settings.useDataItem);
}

void MainWindow::showError(const QString& what, const std::exception& e) {
    QString text = what;
    const QString detail = QString::fromUtf8(e.what());
    if (!detail.isEmpty()) text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + detail;
    dialogs_->error(this, text);
}

// ---- Shutdown ----------------------------------------------------------------------------------

void MainWindow::quit() {
    if (busy_ || !maySetTableAside()) return;
    KeepWindowPlace(*this, ws_.settings);
    try {
        ws_.WriteIniFile(ws_.iniFileName);
    } catch (const std::exception& e) {
        // The window stays open: the user may free the folder and quit again.
        showError(QString(), e);
        return;
    }
    closeApproved_ = true;
    close();
    closeApproved_ = false;
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // While a long command runs the window cannot go away under it.
    if (busy_ || (!closeApproved_ && !maySetTableAside())) {
        e->ignore();
        return;
    }
    // A clean quit leaves no recovery file.
    files_->quitting();
    e->accept();
}

// ---- Panels over the grid ---------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    placePanels();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == central_ && e->type() == QEvent::Resize) placePanels();
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::placePanels() {
    if (message_ && message_->isVisible()) message_->place();
    if (ranges_ && ranges_->panel()->isVisible()) ranges_->panel()->place();
    if (editing_ && editing_->searchPanel()->isVisible()) editing_->searchPanel()->place();
    if (retrieval_ && retrieval_->panel()->isVisible()) retrieval_->panel()->place();
    if (analysis_ && analysis_->constancyPanel()->isVisible()) analysis_->constancyPanel()->place();
    if (output_ && output_->panel()->isVisible()) output_->panel()->place();
    if (classification_) classification_->placePanel();
}

}  // namespace tavik::ui
