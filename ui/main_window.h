// The main window: the composition grid, the menu, the status line, the work message and
// the panels that commands open over the grid. The window owns the program's state (one
// Workspace) and turns the user's choices into calls of the table and file operations.
//
// Commands are public slots named by what they do (saveTable, scanFieldData,
// onGridPressed), so that the whole window can be driven without a mouse.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include <QMainWindow>
#include <memory>
#include <string>

#include "core/hiding.h"
#include "formats/workspace.h"
#include "output/options.h"
#include "output/output_file.h"

namespace tavik {
class TableChange;
}

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QTimer;
class QUndoStack;

namespace tavik::ui {

class CellEditor;
class CellTextPanel;
class CoverDialog;
class ConstancyPanel;
class FreqWindow;
class OutputPanel;
class RangePanel;
class RetrievalPanel;
class SearchPanel;
class PopupButtonBar;
class UserDialogs;
class CompositionGrid;
class ClassificationController;
class FileController;
class TableCommand;
class TableChangeNotifier;
class WorkMessage;

// What the range panel is open for, and how presses on the grid behave.
enum class RangeMode { None, SortSpecies, SortReleves, SiteRowsHidden, Hide };

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

class MainWindow : public QMainWindow {
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
    UserDialogs& dialogs() { return *dialogs_; }

    // ---- State, for the commands and for tests ----------------------------------------
    Workspace& workspace() { return ws_; }
    CompositionGrid* grid() const { return grid_; }
    WorkMessage* workMessage() const { return message_; }
    RangePanel* rangePanel() const { return rangePanel_; }
    SearchPanel* searchPanel() const { return searchPanel_; }
    RetrievalPanel* retrievalPanel() const { return retrievalPanel_; }
    PopupButtonBar* rowButtons() const { return rowButtons_; }
    PopupButtonBar* columnButtons() const { return columnButtons_; }
    CellTextPanel* cellTextPanel() const { return cellText_; }
    // The editor over a cell and the cover dialog while it is open (else null).
    CellEditor* cellEditor() const { return cellEditor_; }
    CoverDialog* coverDialog() const;
    ConstancyPanel* constancyPanel() const { return constancyPanel_; }
    FreqWindow* freqWindow() const { return freqWindow_; }
    ClassificationController* classification() const { return classification_; }
    // Loading, saving and the recovery file.
    FileController* files() const { return files_; }
    OutputPanel* outputPanel() const { return outputPanel_; }
    // The printer that the print dialog and the printer setup share.
    QPrinter& printer();
    const MenuActions& actions() const { return actions_; }
    QString statusText(int panel) const;
    // A passing note beside the four status panels (they stay in view), for `ms` ms.
    void showNote(const QString& text, int ms);
    QString noteText() const;
    RangeMode rangeMode() const { return rangeMode_; }
    QString manualPath() const;

    // The title, the status line and the enabling of the outputs follow the table.
    void showTableStatus();

    // ---- Undo (main_window_undo.cpp, ui/undo_commands.h) ---------------------------------
    // Every change to the table is a command on this stack; its clean state is the table
    // as last saved or loaded.
    QUndoStack* undoStack() const { return undoStack_; }
    // Applies `command` and puts it on the stack (ownership passes). False when the command
    // found nothing to do: it is dropped and the history stays as it was.
    bool pushCommand(TableCommand* command);
    // The same for a change of the table wrapped in a command named `name`.
    bool pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout = false);
    // After a command was applied or reverted: the grid, the status line and the caption
    // follow; with `layout`, the view starts afresh as for a new table.
    void tableCommandDone(bool layout);
    // A step made of the commands pushed until endStep(), with questions to the user between
    // them: it opens on the first of them, so that a step in which nothing changed leaves no
    // trace in the history.
    void beginStep(const QString& name);
    void endStep();
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
    void showRetrievalPanel();
    void openTable();
    void loadTable(const QString& path);
    void openStartTable();
    void chooseDataFile();
    void setDataFile(const QString& path);
    void saveTable();
    void quit();
    // Table tools.
    void recountFrequencies();
    void sortSpecies();
    void sortReleves();
    void toggleSiteRows();
    void toggleHiddenRanges();
    // Analyses (main_window_analysis.cpp): reciprocal averaging with its score table and
    // reorder; the constancy panel and table; the second window shown again.
    void reciprocalAveraging();
    void showConstancyPanel();
    void makeConstancyTable();
    void cancelConstancyPanel();
    void showFreqWindow();
    // The species rows of the composition table in the diagnostic blocks of the fidelity
    // chosen in the constancy panel.
    void sortByDiagnosticBlocks();
    // Edit and search.
    void undo();
    void redo();
    void showSearchPanel();
    void resetSearch();
    void deleteRow();
    void deleteColumn();
    void insertRow();
    void writeComment();
    void insertColumn();
    void editTitle();
    // Settings.
    void toggleEmbeddedItems();
    void readSettingsFile();
    void readDictionary();
    void chooseTableFont();
    // Help.
    void chooseDataCheckMode();
    void openManual();
    void showAbout();

    // Range panel: 実行 and 中止.
    void applyRange();
    void cancelRange();
    // Search panel.
    void onSearchExact();
    void onSearchPartial();
    void closeSearchPanel();
    // Retrieval panel.
    void scanFieldData(bool additional);
    void resetRetrieval();
    void putIntoTable();
    void closeRetrievalPanel();
    void convertToStandardNames();
    void changeDataFileFromPanel();
    // Outputs (main_window_output.cpp): the output panel in the mode of each command, its
    // buttons 出力する and 取止める, the font of printing, the printer setup, the site exports
    // and the header-item configuration (表組み項目の変更).
    void showTextOutput();
    void showSpreadsheetOutput();
    void showPrintOutput();
    void showSimplePrintOutput();
    void showValueMatrixOutput();
    void showPCordOutput();
    void runOutput();
    void cancelOutput();
    void chooseOutputFont();
    void editItemCaption(int item, const QString& caption);
    void setUpPrinter();
    void exportSiteData();
    void exportGpsPoints();
    void exportMeshData();
    void changeHeaderItems();
    // The configuration's 設定する: ticked items get header rows, and the table is laid out
    // anew, empty.
    void applyItemSelection(const std::array<bool, kItemCount + 1>& ticked);

    // The grid's mouse; positions are the grid viewport's.
    void onGridPressed(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row,
                       QPoint pos);
    void onGridMouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int col,
                          int row, QPoint pos);
    void onGridReleased(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row,
                        QPoint pos);
    void onRowMoved(int from, int to);
    void onColumnMoved(int from, int to);
    // The pop-up buttons, on release of a mouse button over them.
    void onInsertRowButton(Qt::MouseButton button);
    void onDeleteRowButton(Qt::MouseButton button);
    void onCommentButton(Qt::MouseButton button);
    void onInsertColumnButton(Qt::MouseButton button);
    void onDeleteColumnButton(Qt::MouseButton button);
    // Editing a cell in place (main_window_inplace.cpp): a name, a header value or an item
    // name in the cell editor, a species' covers in a relevé in the cover dialog; any other
    // cell is not edited.
    void editCell(int col, int row);
    void onCellEdited(int col, int row, const QString& text);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Construction, by concern.
    void buildMenus();
    void buildStatusBar();
    void buildPanels();
    void connectPanels();
    void placePanels();
    void buildAnalysis();
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
    void buildInPlaceEditing();

    // After the model was reset (cleared or loaded): no search hits.
    void modelWasReset();
    // After the grid was laid out anew: nothing hidden, no key row shown, no range mode.
    void layoutRenewed();
    // The grid shows the table as it now is.
    void refresh();
    // The window's place and size from the settings / into them.
    void applyWindowSettings();
    void storeWindowSettings();
    void updateTicks();
    // Opens the range panel for the sort of the current range mode.
    void showRangePanel();
    RangeMode restingRangeMode() const;
    void setGridForRangeMode();
    void search(bool exact);
    void showError(const QString& what, const std::exception& e);
    // Asks for a file to open, proposing `pattern` in `folder`; the chosen path is the name
    // the status line shows. Empty when the user cancelled.
    QString askFileToOpen(const QString& title, int filterIndex, const QString& pattern,
                          const QString& folder);
    bool runRetrievalPass(const char* what, bool scanning,
                          const std::function<void(RetrievalProgress&)>& pass);
    void notOnThisRow(const QString& what);
    // An edit of the current row (or column): refused with a beep and `refusal` in the
    // status line when it does not apply there, else asked. True when the user agreed.
    enum class GridLine { Row, Column };
    // How a question names the relevé of a column ("3 列目（M12）") and the species of a row
    // (its name, or 空白行 for an inserted empty row).
    QString releveCaption(int col) const;
    QString speciesCaption(int row) const;
    bool confirmEdit(GridLine line, int index, bool applies, const QString& refusal,
                     const QString& question);

    // Outputs.
    void openOutputPanel(OutputMode mode);
    // The settings file keeps the panel's check boxes and radio groups as they are.
    void keepPanelChoices();
    QString askOutputFile(OutputFileKind kind, const std::string& title);
    bool confirmReplace(const QString& path, bool askOverwrite);
    void takeOutputTitle(const std::string& title);
    void writeOutputFile(OutputOptions o);
    void outputWritten(const QString& path, const OutputReport& report);
    void printTable(const OutputOptions& o);
    void exportSite(SiteExport what);

    // A command at work: the wait cursor, the work message, no input meanwhile.
    class BusyScope;
    friend class BusyScope;
    friend class FileController;
    bool busy_ = false;

    Workspace ws_;
    std::unique_ptr<UserDialogs> dialogs_;
    QString programPath_;
    QString openDialogName_;
    QString startTable_;  // the table named on the command line, until it is opened
    QString lastTableFolder_;
    RangeMode rangeMode_ = RangeMode::None;
    bool hideRangesTicked_ = false;
    bool hideSiteTicked_ = false;
    bool keysShown_ = false;

    CompositionGrid* grid_ = nullptr;
    QWidget* central_ = nullptr;
    WorkMessage* message_ = nullptr;
    RangePanel* rangePanel_ = nullptr;
    SearchPanel* searchPanel_ = nullptr;
    RetrievalPanel* retrievalPanel_ = nullptr;
    PopupButtonBar* rowButtons_ = nullptr;
    PopupButtonBar* columnButtons_ = nullptr;
    CellTextPanel* cellText_ = nullptr;
    CellEditor* cellEditor_ = nullptr;
    QPoint rightPressAt_{-10000, -10000};  // where the last right press on the grid was
    std::uint64_t editVersion_ = 0;  // the table's content when the open edit began
    ConstancyPanel* constancyPanel_ = nullptr;
    FreqWindow* freqWindow_ = nullptr;
    ClassificationController* classification_ = nullptr;
    OutputPanel* outputPanel_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    QString lastOutputFolder_;
    // The header items' names when the configuration opened.
    std::array<std::string, kItemCount + 1> captionsAtOpen_;
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
