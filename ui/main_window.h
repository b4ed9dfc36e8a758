// The main window: the composition grid, the menu, the status line, the work message and
// the panels that commands open over the grid. The window owns the program's state (one
// Workspace); the work of outputs, retrieval, analyses, editing and classification is done
// by controllers that own their panels and reach the window only through WindowServices.
//
// Commands are public slots named by what they do (saveTable, onGridPressed), here and in
// the controllers, so that the whole window can be driven without a mouse.
#pragma once

#include <QMainWindow>
#include <memory>

#include "formats/workspace.h"
#include "ui/range_controller.h"
#include "ui/window_services.h"

namespace tavik {
class TableChange;
}

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPrinter;
class QTimer;
class QUndoStack;

namespace tavik::ui {

class AnalysisController;
class CellTextPanel;
class EditingController;
class OutputController;
class RetrievalController;
class PopupButtonBar;
class UserDialogs;
class CompositionGrid;
class ClassificationController;
class FileController;
class TableCommand;
class TableChangeNotifier;
class WorkMessage;

// The commands of the main menu. Those of later work are shown and never enabled.
struct MenuActions {
    // File.
    QAction* newTable = nullptr;
    QAction* addReleves = nullptr;
    QAction* loadTable = nullptr;
    QAction* chooseDataFile = nullptr;
    QAction* saveTable = nullptr;
    QAction* outputTable = nullptr;  // the submenu
    QAction* textFile = nullptr;
    QAction* excelFile = nullptr;
    QAction* printTable = nullptr;
    QAction* printBrief = nullptr;
    QAction* printSetup = nullptr;
    QAction* valueMatrix = nullptr;
    QAction* pcordCsv = nullptr;
    QAction* siteData = nullptr;  // the submenu
    QAction* plotData = nullptr;
    QAction* gpsPot = nullptr;
    QAction* meshData = nullptr;
    QAction* quit = nullptr;
    // Table tools.
    QAction* recount = nullptr;
    QAction* sortSpecies = nullptr;
    QAction* sortReleves = nullptr;
    QAction* reciprocalAveraging = nullptr;
    QAction* hideSiteRows = nullptr;
    QAction* hideRanges = nullptr;
    QAction* makeConstancyTable = nullptr;
    QAction* showConstancyTable = nullptr;
    QAction* sortByDiagnosticBlocks = nullptr;
    QAction* classify = nullptr;
    QAction* readGroups = nullptr;
    QAction* writeGroups = nullptr;
    // Edit and search.
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* search = nullptr;
    QAction* resetSearch = nullptr;
    QAction* deleteRow = nullptr;
    QAction* deleteColumn = nullptr;
    QAction* insertRow = nullptr;
    QAction* writeComment = nullptr;
    QAction* insertColumn = nullptr;
    QAction* editTitle = nullptr;
    // Settings.
    QAction* useEmbeddedItems = nullptr;
    QAction* readSettings = nullptr;
    QAction* readDictionary = nullptr;
    QAction* changeItems = nullptr;
    QAction* tableFont = nullptr;
    // Help.
    QAction* dataCheck = nullptr;
    QAction* manual = nullptr;
    QAction* version = nullptr;
};

class MainWindow : public QMainWindow, public WindowServices {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up after construction: the settings file (the one beside the program, or a
    // ".ini" named first on the command line), then a ".vtb" named there. `programPath` is
    // the executable's path; `args` the arguments after it.
    void start(const QStringList& args, const QString& programPath);
    // True until the table named on the command line has been opened (once the window shows).
    bool startTablePending() const { return !startTable_.isEmpty(); }

    // Replaces the dialogs (tests give scripted answers).
    void setDialogs(std::unique_ptr<UserDialogs> dialogs);
    UserDialogs& dialogs() override { return *dialogs_; }

    // ---- State, for the commands and for tests ----------------------------------------
    Workspace& workspace() override { return ws_; }
    CompositionGrid* grid() const { return grid_; }
    WorkMessage* workMessage() const override { return message_; }
    PopupButtonBar* rowButtons() const { return rowButtons_; }
    PopupButtonBar* columnButtons() const { return columnButtons_; }
    CellTextPanel* cellTextPanel() const { return cellText_; }
    // The controllers, with their panels.
    RangeController* ranges() const { return ranges_; }
    OutputController* output() const { return output_; }
    RetrievalController* retrieval() const { return retrieval_; }
    AnalysisController* analysis() const { return analysis_; }
    EditingController* editing() const { return editing_; }
    ClassificationController* classification() const { return classification_; }
    // Loading, saving and the recovery file.
    FileController* files() const { return files_; }
    const MenuActions& actions() const { return actions_; }
    QString statusText(int panel) const;
    // A passing note beside the four status panels (they stay in view), for `ms` ms.
    void showNote(const QString& text, int ms) override;
    QString noteText() const;
    QString manualPath() const;

    // The title, the status line and the enabling of the outputs follow the table.
    void showTableStatus() override;
    // The grid shows the table as it now is.
    void refresh() override;
    void updateTicks() override;
    void showError(const QString& what, const std::exception& e) override;

    // ---- For the controllers (ui/window_services.h) ---------------------------------------
    QWidget* dialogParent() override { return this; }
    QFont tableFont() const override;
    QString tableFolder() const override { return lastTableFolder_; }
    bool isBusy() const override { return busy_; }
    void setBusy(bool locked) override;
    void writeRecoveryLater() override;

    // ---- Undo (main_window_undo.cpp, ui/undo_commands.h) ---------------------------------
    // Every change to the table is a command on this stack; its clean state is the table
    // as last saved or loaded.
    QUndoStack* undoStack() const override { return undoStack_; }
    // Applies `command` and puts it on the stack (ownership passes). False when the command
    // found nothing to do: it is dropped and the history stays as it was.
    bool pushCommand(TableCommand* command);
    // The same for a change of the table wrapped in a command named `name`.
    bool pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout = false) override;
    // After a command was applied or reverted: the grid, the status line and the caption
    // follow; with `layout`, the view starts afresh as for a new table.
    void tableCommandDone(bool layout);
    // A step made of the commands pushed until endStep(), with questions to the user between
    // them: it opens on the first of them, so that a step in which nothing changed leaves no
    // trace in the history.
    void beginStep(const QString& name) override;
    void endStep() override;
    // The table changed since it was last saved or loaded (and holds relevés to save).
    bool hasUnsavedChanges() const;
    // The recovery file's path, and how often it is written (tests use a short interval).
    QString recoveryPath() const;
    void setRecoveryInterval(int ms);
    // Writes the recovery file while there are unsaved changes, removes it otherwise.
    void writeRecovery();

public slots:
    // File menu.
    void clearTable();
    void openTable();
    void loadTable(const QString& path);
    void openStartTable();
    void chooseDataFile();
    void setDataFile(const QString& path);
    void saveTable();
    void quit();
    // Table tools.
    void recountFrequencies() override;
    // Edit and search.
    void undo();
    void redo();
    void editTitle() override;
    // Settings.
    void toggleEmbeddedItems();
    void readSettingsFile();
    void readDictionary();
    void chooseTableFont();
    // Help.
    void chooseDataCheckMode();
    void openManual();
    void showAbout();

    // The grid's mouse; positions are the grid viewport's.
    void onGridPressed(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row,
                       QPoint pos);
    void onGridMouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int col,
                          int row, QPoint pos);
    void onGridReleased(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row,
                        QPoint pos);
    // The pop-up buttons, on release of a mouse button over them.
    void onInsertRowButton(Qt::MouseButton button);
    void onDeleteRowButton(Qt::MouseButton button);
    void onCommentButton(Qt::MouseButton button);
    void onInsertColumnButton(Qt::MouseButton button);
    void onDeleteColumnButton(Qt::MouseButton button);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Construction, by concern.
    void buildMenus();
    void buildFileMenu(QMenuBar* bar);
    void buildToolsMenu(QMenuBar* bar);
    void buildEditMenu(QMenuBar* bar);
    void buildSettingsMenu(QMenuBar* bar);
    void buildHelpMenu(QMenuBar* bar);
    void buildStatusBar();
    void buildPanels();
    void buildControllers();
    void connectPanels();
    void placePanels();
    void buildUndo(QMenu* editMenu);
    // Before the table is cleared, replaced or closed: asks to save unsaved changes. False
    // when the user cancelled (or the save did not happen).
    bool maySetTableAside();
    // The table as it is now is the saved one.
    void tableSaved();
    // At start: the history's size, the recovery file's lock, timer and offer. True when a
    // left-behind table was restored.
    bool startUndoAndRecovery();
    // An empty table was laid out anew outside the history (new settings, a data file's
    // items): the steps kept refer to keys and header rows it no longer has, and go.
    void emptyTableLaidOutAnew();

    // After the model was reset (cleared or loaded): no search hits.
    void modelWasReset();
    // After the grid was laid out anew: nothing hidden, no key row shown, no range mode.
    void layoutRenewed();
    // The window's place and size from the settings / into them.
    void applyWindowSettings();
    void storeWindowSettings();
    // Asks for a file to open, proposing `pattern` in `folder`; the chosen path is the name
    // the status line shows. Empty when the user cancelled.
    QString askFileToOpen(const QString& title, int filterIndex, const QString& pattern,
                          const QString& folder);
    // The file controller works with the window's own state (the workspace, the folders,
    // the model's renewal after a load).
    friend class FileController;
    // A command at work: no input meanwhile (see BusyScope).
    bool busy_ = false;

    Workspace ws_;
    std::unique_ptr<UserDialogs> dialogs_;
    QString programPath_;
    QString openDialogName_;
    QString startTable_;  // the table named on the command line, until it is opened
    QString lastTableFolder_;
    bool keysShown_ = false;

    CompositionGrid* grid_ = nullptr;
    QWidget* central_ = nullptr;
    WorkMessage* message_ = nullptr;
    PopupButtonBar* rowButtons_ = nullptr;
    PopupButtonBar* columnButtons_ = nullptr;
    CellTextPanel* cellText_ = nullptr;
    QPoint rightPressAt_{-10000, -10000};  // where the last right press on the grid was
    RangeController* ranges_ = nullptr;
    OutputController* output_ = nullptr;
    RetrievalController* retrieval_ = nullptr;
    AnalysisController* analysis_ = nullptr;
    EditingController* editing_ = nullptr;
    ClassificationController* classification_ = nullptr;
    QLabel* status_[4] = {nullptr, nullptr, nullptr, nullptr};
    QLabel* note_ = nullptr;
    QTimer* noteTimer_ = nullptr;
    MenuActions actions_;
    QUndoStack* undoStack_ = nullptr;
    TableChangeNotifier* tableChanges_ = nullptr;
    QString stepName_;        // the step begun and not yet opened on the stack
    bool stepPending_ = false, stepOpen_ = false;
    int stepDepth_ = 0;
    FileController* files_ = nullptr;
    bool closeApproved_ = false;
};

}  // namespace tavik::ui
