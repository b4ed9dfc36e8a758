// The main window: the composition grid, the menu, the status line, the work message and
// the panels that commands open over the grid. The window owns the program's state (one
// Workspace); the work of outputs, retrieval, analyses, editing and classification is done
// by controllers that own their panels and reach the window only through WindowServices.
//
// Commands are public slots named by what they do (saveTable, chooseTableFont), here and in
// the controllers, so that the whole window can be driven without a mouse.
#pragma once

#include <QMainWindow>
#include <memory>

#include "formats/workspace.h"
#include "ui/menu_actions.h"
#include "ui/range_controller.h"
#include "ui/table_history.h"
#include "ui/window_services.h"

namespace tavik {
class TableChange;
}

class QTimer;
class QUndoStack;

namespace tavik::ui {

class AnalysisController;
class CellTextPanel;
class EditingController;
class GridPointer;
class OutputController;
class RetrievalController;
class PopupButtonBar;
class StatusLine;
class UserDialogs;
class CompositionGrid;
class ClassificationController;
class DataSources;
class FileController;
class WorkMessage;

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
    // The pointer over the grid, with its pop-up buttons and the panel of a long cell's text.
    GridPointer* gridPointer() const { return pointer_; }
    StatusLine* statusLine() const { return status_; }
    // The steps to undo.
    TableHistory* history() const { return history_; }
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
    // A passing note beside the four status panels (they stay in view), for `ms` ms.
    void showNote(const QString& text, int ms) override;
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

    // ---- Steps to undo (ui/table_history.h) ----------------------------------------------
    QUndoStack* undoStack() const override { return history_->stack(); }
    bool pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout = false) override;
    void beginStep(const QString& name) override { history_->beginStep(name); }
    void endStep() override { history_->endStep(); }
    bool hasUnsavedChanges() const { return history_->hasUnsavedChanges(); }
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

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Construction, by concern.
    void buildMenus();
    void connectMenus();
    void connectLanguageMenu();
    void buildPanels();
    void buildControllers();
    void connectHistory();
    void placePanels();
    // After a command was applied or reverted: the grid, the status line and the caption
    // follow; with `layout`, the view starts afresh as for a new table.
    void tableCommandDone(bool layout);
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
    // The window's place and size from the settings, brought into view on the screens there
    // are now.
    void applyWindowSettings();
    // Asks for a file to open, proposing `pattern` in `folder`; the chosen path is the name
    // the status line shows. Empty when the user cancelled.
    QString askFileToOpen(const QString& title, int filterIndex, const QString& pattern, const QString& folder);
    // The file controller works with the window's own state (the workspace, the folders,
    // the model's renewal after a load).
    friend class FileController;
    friend class DataSources;
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
    GridPointer* pointer_ = nullptr;
    RangeController* ranges_ = nullptr;
    OutputController* output_ = nullptr;
    RetrievalController* retrieval_ = nullptr;
    AnalysisController* analysis_ = nullptr;
    EditingController* editing_ = nullptr;
    ClassificationController* classification_ = nullptr;
    StatusLine* status_ = nullptr;
    MenuActions actions_;
    TableHistory* history_ = nullptr;
    FileController* files_ = nullptr;
    DataSources* sources_ = nullptr;  // the field data, dictionary and settings file
    bool closeApproved_ = false;
};

}  // namespace tavik::ui
