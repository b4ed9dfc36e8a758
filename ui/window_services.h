// What the main window offers the controllers that do its work (output, retrieval,
// analysis, editing, classification): the workspace, the questions to the user, the steps
// to undo, the work message and the status line. A controller holds this interface, never
// the window itself, so that it can be driven by anything that offers the same.
#pragma once

#include <QString>
#include <exception>
#include <memory>

#include "formats/workspace.h"

class QFont;
class QUndoStack;
class QWidget;

namespace tavik {
class TableChange;
}

namespace tavik::ui {

class UserDialogs;
class WorkMessage;

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // ---- The table and the user ----------------------------------------------------------
    virtual Workspace& workspace() = 0;
    virtual UserDialogs& dialogs() = 0;
    // The widget the dialogs of a controller belong to.
    virtual QWidget* dialogParent() = 0;
    // The font the grid shows the table in.
    virtual QFont tableFont() const = 0;
    // The folder of the table last opened or saved (empty when none was).
    virtual QString tableFolder() const = 0;

    // ---- Steps to undo ---------------------------------------------------------------------
    virtual QUndoStack* undoStack() const = 0;
    // Applies `change` as a step named `name`; false when it found nothing to do.
    virtual bool pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout = false) = 0;
    // A step of the changes pushed until endStep(), with questions between them.
    virtual void beginStep(const QString& name) = 0;
    virtual void endStep() = 0;
    // The frequencies recounted, as a step of its own when they change.
    virtual void recountFrequencies() = 0;
    // Asks for the table's title (a step when it changes).
    virtual void editTitle() = 0;

    // ---- Being at work -----------------------------------------------------------------------
    // A long command is running: the window takes no input meanwhile.
    virtual bool isBusy() const = 0;
    // Locks (or frees) the window for a long command; see BusyScope.
    virtual void setBusy(bool locked) = 0;
    virtual WorkMessage* workMessage() const = 0;

    // ---- What the user sees ----------------------------------------------------------------
    // The grid shows the table as it now is.
    virtual void refresh() = 0;
    // The title, the status line and the enabling of the commands follow the table.
    virtual void showTableStatus() = 0;
    // The menu's ticks follow the settings.
    virtual void updateTicks() = 0;
    // A passing note in the status line, for `ms` ms.
    virtual void showNote(const QString& text, int ms) = 0;
    // `what`, with the failure's own message under it, in an error box.
    virtual void showError(const QString& what, const std::exception& e) = 0;
    // After long work: the recovery file is written once the window is free again.
    virtual void writeRecoveryLater() = 0;
};

}  // namespace tavik::ui
