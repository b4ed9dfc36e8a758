// The main window: the composition grid, the menu, the status line, the work message and
// the panels that commands open over the grid. The window owns the program's state (one
// Workspace) and turns the user's choices into calls of the table and file operations.
//
// Commands carry the names of the components and events that run them
// (Item_SaveTableClick, BtnRetrNewClick, VegTableMouseDown); they are public so that the
// whole window can be driven without a mouse.
#pragma once

#include <functional>

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>

#include "core/hiding.h"
#include "formats/workspace.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace tavik::ui {

class AboutBox;
class CellTextPanel;
class RangePanel;
class RetrievalPanel;
class SearchPanel;
class SpeedButton;
class SpeedPanel;
class UserDialogs;
class VegGrid;
class WorkMessage;
class WorkProgress;

// What the range panel is open for, and how presses on the grid behave.
enum RangeModes { kRangeNone = 0, kRangeSortSpecies = 1, kRangeSortReleves = 2,
                  kRangeSiteHidden = 3, kRangeHide = 4 };

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up after construction: the settings file (the one beside the program, or a
    // ".ini" named first on the command line), then a ".vtb" named there. `programPath` is
    // the executable's path; `args` the arguments after it.
    void Start(const QStringList& args, const QString& programPath);

    // Replaces the dialogs (tests give scripted answers).
    void SetDialogs(std::unique_ptr<UserDialogs> dialogs);
    UserDialogs& Dialogs() { return *dialogs_; }

    // ---- State, for the commands and for tests ----------------------------------------
    Workspace& Ws() { return ws_; }
    VegGrid* VegTable() const { return grid_; }
    WorkMessage* MessagePanel() const { return message_; }
    RangePanel* PanelofSortRange() const { return rangePanel_; }
    SearchPanel* QueryPanel() const { return searchPanel_; }
    RetrievalPanel* Panel_AddReleve() const { return retrPanel_; }
    SpeedPanel* Panel_forRow() const { return rowButtons_; }
    SpeedPanel* Panel_forCol() const { return colButtons_; }
    CellTextPanel* Panel_ShowCell() const { return showCell_; }
    QAction* Item(const QString& name) const;
    QString StatusText(int panel) const;
    // A passing note beside the four status panels (they stay in view), for `ms` ms.
    void Note(const QString& text, int ms);
    QString NoteText() const;
    int RangeMode() const { return rangeMode_; }
    QString OpenDialogFileName() const { return openDialogName_; }
    QString ManualPath() const;

    // ---- Services every command uses -------------------------------------------------
    void ShowWorkMess(const QString& line1, const QString& line2);
    void CloseWorkMess();
    void ShowTableStatus();

public slots:
    // File menu.
    void ClearTable();
    void Item_AddReleveClick();
    void Item_LoadTableClick();
    void LoadTable(const QString& path);
    void Item_FileChgClick();
    void SetDataFile(const QString& path);
    void Item_SaveTableClick();
    void Btn_QuitClick();
    // Table tools.
    void Item_FrequencyClick();
    void Item_SortPlantClick();
    void Item_SortReleveClick();
    void Item_HideSiteClick();
    void Item_HideRCClick();
    // Edit and search.
    void Item_SearchClick();
    void Item_ResetSearchClick();
    void Item_DelRowClick();
    void Item_DelColClick();
    void Item_InsRowClick();
    void Item_CommentClick();
    void Item_InsColClick();
    void Item_EditTitleClick();
    // Settings.
    void Item_UseFIClick();
    void Item_ReadINIClick();
    void Item_CheckNameClick();
    void Item_SetFontClick();
    // Help.
    void DataChkModeClick();
    void Item_ManualClick();
    void Item_VersionClick();

    // Range panel.
    void GetTableRange();
    void BtnSortGoClick();
    void BtnSortStpClick();
    void HideTableRC(int q1, int q2, int p1, int p2);
    // Search panel: exact for QueryBtn1, partial for QueryBtn2 and Enter.
    void QueryBtn1Click(bool exact);
    void QueryCancelBtnClick();
    // Retrieval panel.
    void BtnRetrNewClick(bool additional);
    void BtnRetrResetClick();
    void BtnToTableClick();
    void BtnRetrQuitClick();
    void BtnSynToComClick();
    void BtnChgFileClick();

    // The grid's mouse; positions are the grid viewport's.
    void VegTableMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row,
                           QPoint pos);
    void VegTableMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int col,
                           int row, QPoint pos);
    void VegTableMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row,
                         QPoint pos);
    void VegTableRowMoved(int from, int to);
    void VegTableColumnMoved(int from, int to);
    // The speed buttons, on release of a mouse button over them.
    void Btn_InsRowMouseUp(Qt::MouseButton button);
    void Btn_DelRowMouseUp(Qt::MouseButton button);
    void Btn_RemarkMouseUp(Qt::MouseButton button);
    void Btn_InsColMouseUp(Qt::MouseButton button);
    void Btn_DelColMouseUp(Qt::MouseButton button);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Construction, by concern.
    void BuildMenus();
    void BuildStatusBar();
    void BuildPanels();
    void ConnectPanels();
    void PlacePanels();

    // After the model was reset (cleared or loaded): no search hits.
    void ModelWasReset();
    // After the grid was laid out anew: nothing hidden, no key row shown, no range mode.
    void LayoutRenewed();
    // The grid shows the table as it now is.
    void Refresh();
    // The window's place and size from the settings / into them.
    void ApplyWindowSettings();
    void StoreWindowSettings();
    void SetTicks();
    int RestingRangeMode() const;
    void SetGridForRangeMode();
    void ShowError(const QString& what, const std::exception& e);
    bool RunRetrievalPass(const char* what, bool scanning,
                          const std::function<void(RetrievalProgress&)>& pass);
    void NotOnThisRow(const QString& what);
    bool AskOnRow(int row, const QString& question);
    bool AskOnColumn(int col, const QString& question);

    // A command that runs long: the menus, the grid and the panels take no input meanwhile.
    class Busy;
    friend class Busy;
    bool busy_ = false;

    Workspace ws_;
    std::unique_ptr<UserDialogs> dialogs_;
    QString programPath_;
    QString openDialogName_;
    QString lastTableFolder_;
    int rangeMode_ = kRangeNone;
    bool hideRCTicked_ = false;
    bool hideSiteTicked_ = false;
    bool keysShown_ = false;

    VegGrid* grid_ = nullptr;
    QWidget* central_ = nullptr;
    WorkMessage* message_ = nullptr;
    RangePanel* rangePanel_ = nullptr;
    SearchPanel* searchPanel_ = nullptr;
    RetrievalPanel* retrPanel_ = nullptr;
    SpeedPanel* rowButtons_ = nullptr;
    SpeedPanel* colButtons_ = nullptr;
    CellTextPanel* showCell_ = nullptr;
    QLabel* status_[4] = {nullptr, nullptr, nullptr, nullptr};
    QLabel* note_ = nullptr;
    QTimer* noteTimer_ = nullptr;
    QMenu* outTableMenu_ = nullptr;
    QMenu* siteDataMenu_ = nullptr;
    // Commands that come with later work: shown, never enabled.
    QList<QAction*> notYet_;
};

}  // namespace tavik::ui
