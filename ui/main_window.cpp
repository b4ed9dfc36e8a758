// The main window's construction, start-up, status line, work message and shutdown.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/about_box.h"
#include "ui/main_window_busy.h"
#include "ui/command_line.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/user_dialogs.h"
#include "ui/version.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

// The file-name part of a path written with either kind of separator.
QString FileNamePart(const QString& path) {
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? path : path.mid(cut + 1);
}
}  // namespace

// ---- Construction ----------------------------------------------------------------------------

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), dialogs_(new UserDialogs) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(ProgramIcon());
    central_ = new QWidget(this);
    central_->setObjectName(QStringLiteral("GridArea"));
    auto* lay = new QVBoxLayout(central_);
    lay->setContentsMargins(0, 0, 0, 0);
    grid_ = new VegGrid(central_);
    grid_->setObjectName(QStringLiteral("VegTable"));
    lay->addWidget(grid_);
    setCentralWidget(central_);
    central_->installEventFilter(this);

    BuildPanels();
    BuildMenus();
    BuildStatusBar();
    ConnectPanels();

    grid_->SetTable(&ws_.table);
    connect(grid_, &VegGrid::mousePressed, this, &MainWindow::VegTableMouseDown);
    connect(grid_, &VegGrid::mouseMoved, this, &MainWindow::VegTableMouseMove);
    connect(grid_, &VegGrid::mouseReleased, this, &MainWindow::VegTableMouseUp);
    connect(grid_, &VegGrid::rowMoved, this, &MainWindow::VegTableRowMoved);
    connect(grid_, &VegGrid::columnMoved, this, &MainWindow::VegTableColumnMoved);
    resize(724, 538);
}

MainWindow::~MainWindow() {
    // The grid points at the workspace's table: let it go first.
    if (grid_) grid_->SetTable(nullptr);
}

void MainWindow::SetDialogs(std::unique_ptr<UserDialogs> dialogs) { dialogs_ = std::move(dialogs); }

void MainWindow::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const int widths[4] = {110, 110, 300, 300};
    for (int i = 0; i < 4; ++i) {
        status_[i] = new QLabel(bar);
        status_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        status_[i]->setFixedWidth(widths[i]);
        status_[i]->setFrameShape(QFrame::StyledPanel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        status_[i]->setTextFormat(Qt::PlainText);
        bar->addWidget(status_[i]);
    }
    note_ = new QLabel(bar);
    note_->setObjectName(QStringLiteral("StatusNote"));
    note_->setTextFormat(Qt::PlainText);
    bar->addWidget(note_, 1);
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    connect(noteTimer_, &QTimer::timeout, note_, &QLabel::clear);
}

void MainWindow::Note(const QString& text, int ms) {
    note_->setText(text);
    note_->setToolTip(text);
    noteTimer_->start(ms);
}

QString MainWindow::NoteText() const { return note_->text(); }

QString MainWindow::StatusText(int panel) const {
    return panel >= 1 && panel <= 4 ? status_[panel - 1]->text() : QString();
}

// ---- Start-up ----------------------------------------------------------------------------------

void MainWindow::Start(const QStringList& args, const QString& programPath) {
    programPath_ = programPath;
    const QString defaultIni = Q(DefaultIniPath(programPath.toStdString()));
    const StartRequest req = ParseCommandLine(args, defaultIni);
    try {
        ws_.Start(req.iniPath.toStdString());
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("設定ファイルを読込めません。"), e);
    }
    ws_.iniFileName = req.iniPath.toStdString();
    ApplyWindowSettings();
    ModelWasReset();
    LayoutRenewed();
    ShowTableStatus();
    if (!req.tablePath.isEmpty()) {
        openDialogName_ = req.tablePath;
        LoadTable(req.tablePath);
    }
}

void MainWindow::ApplyWindowSettings() {
    const Settings& s = ws_.settings;
    QRect r(s.left, s.top, qMax(s.width, 320), qMax(s.height, 240));
    // A window placed on a screen that is not there any more comes back into view.
    if (QScreen* sc = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect a = sc->availableGeometry();
        if (a.isValid()) {
            r.setWidth(qMin(r.width(), a.width()));
            r.setHeight(qMin(r.height(), a.height()));
            if (!a.intersects(r.adjusted(0, 0, -40, -40))) r.moveTopLeft(a.topLeft() + QPoint(40, 40));
        }
    }
    resize(r.size());
    move(r.topLeft());
}

void MainWindow::StoreWindowSettings() {
    Settings& s = ws_.settings;
    const QRect g = (isMaximized() || isFullScreen()) ? normalGeometry() : QRect(pos(), size());
    s.left = g.x();
    s.top = g.y();
    s.width = g.width();
    s.height = g.height();
}

// ---- Work message and status -----------------------------------------------------------------

void MainWindow::ShowWorkMess(const QString& line1, const QString& line2) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    message_->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    message_->SetAsNote(false);
    message_->ShowMessage(line1, line2);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::CloseWorkMess() {
    if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    message_->hide();
}

void MainWindow::ShowTableStatus() {
    const Table& t = ws_.table;
    setWindowTitle(QStringLiteral(" Vegetation Table Processing Ver.") + ProgramVersionText() +
                   QStringLiteral("    ") + Q(t.TableTitle));
    status_[0]->setText(QStringLiteral(" 測定数：") + QString::number(t.ReleveCount()));
    status_[1]->setText(QStringLiteral(" 種数：") + QString::number(t.SpeciesCount()));
    status_[2]->setText(QStringLiteral(" 変換辞書：") + FileNamePart(Q(ws_.dictFileName)));
    status_[3]->setText(QStringLiteral(" ファイル：") + FileNamePart(openDialogName_));
    const bool has = t.ReleveCount() > 0;
    for (const char* name : {"Item_SaveTable", "Item_OutTable", "Item_ValueMatrix",
                             "Item_PCordCSV", "Item_SiteData"}) {
        QAction* a = Item(QString::fromLatin1(name));
        if (a) a->setEnabled(has && !notYet_.contains(a));
    }
    Refresh();
}

void MainWindow::Refresh() {
    grid_->TableChanged();
    grid_->viewport()->update();
}

void MainWindow::ModelWasReset() {
    grid_->SetSearchHits({});
}

void MainWindow::LayoutRenewed() {
    hideRCTicked_ = false;
    hideSiteTicked_ = false;
    keysShown_ = false;
    rangeMode_ = kRangeNone;
    if (!message_->isHidden() && !busy_) message_->hide();
    SetGridForRangeMode();
    // The current cell starts at the first species of the first relevé.
    grid_->SetCurrentCell(4, ws_.table.FNRow() + 1);
    SetTicks();
}

void MainWindow::SetTicks() {
    Item(QStringLiteral("Item_HideRC"))->setChecked(hideRCTicked_);
    Item(QStringLiteral("Item_HideSite"))->setChecked(hideSiteTicked_);
    Item(QStringLiteral("Item_UseFI"))->setChecked(ws_.settings.useDataItem);
}

int MainWindow::RestingRangeMode() const { return hideSiteTicked_ ? kRangeSiteHidden : kRangeNone; }

void MainWindow::SetGridForRangeMode() {
    const bool select = rangeMode_ != kRangeNone;
    grid_->SetRangeSelect(select);
    grid_->SetRowMoving(!select);
    grid_->SetColMoving(!select);
}

void MainWindow::ShowError(const QString& what, const std::exception& e) {
    if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    QString text = what;
    const QString detail = QString::fromUtf8(e.what());
    if (!detail.isEmpty()) text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + detail;
    dialogs_->Error(this, text);
}

// ---- Shutdown ----------------------------------------------------------------------------------

void MainWindow::Btn_QuitClick() {
    if (busy_) return;
    StoreWindowSettings();
    try {
        ws_.WriteIniFile(ws_.iniFileName);
    } catch (const std::exception& e) {
        // The window stays open: the user may free the folder and quit again.
        ShowError(QString(), e);
        return;
    }
    close();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // While a long command runs the window cannot go away under it.
    if (busy_) {
        e->ignore();
        return;
    }
    e->accept();
}

// ---- Panels over the grid ---------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    PlacePanels();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == central_ && e->type() == QEvent::Resize) PlacePanels();
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::PlacePanels() {
    if (message_ && message_->isVisible()) message_->Place();
    if (rangePanel_ && rangePanel_->isVisible()) rangePanel_->Place();
    if (searchPanel_ && searchPanel_->isVisible()) searchPanel_->Place();
    if (retrPanel_ && retrPanel_->isVisible()) retrPanel_->Place();
}

QAction* MainWindow::Item(const QString& name) const { return findChild<QAction*>(name); }

}  // namespace tavik::ui
