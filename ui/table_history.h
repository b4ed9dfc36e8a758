// The history of the table's changes: the undo stack the Edit menu's "元に戻す" and
// "やり直し" walk, the steps made of several changes with questions between them, and the
// clean state (the table as last saved or loaded). Every change goes through here as a
// command that acts when pushed (ui/undo_commands.h); after each apply and revert
// tableChanged() says so, and the window shows the table as it now is.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QUndoStack;

namespace tavik {
class TableChange;
}

namespace tavik::ui {

class TableChangeNotifier;
class TableCommand;
class WindowServices;

class TableHistory : public QObject {
    Q_OBJECT
public:
    // The history of `window`'s workspace, which it asks whether it is busy and tells when a
    // long command calls for the recovery file.
    TableHistory(WindowServices& window, QObject* parent);

    QUndoStack* stack() const { return stack_; }
    // The Edit menu's two items: enabled while there is a step to take back or do again,
    // with its name in their captions, and running undo() and redo().
    void driveActions(QAction* undo, QAction* redo);

    // Applies `command` and puts it on the stack (ownership passes). False when the command
    // found nothing to do: it is dropped and the history stays as it was.
    bool pushCommand(TableCommand* command);
    // The same for a change of the table wrapped in a command named `name`; with
    // `newLayout` another table takes this one's place.
    bool pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout = false);
    // A step made of the commands pushed until endStep(). It opens on the first of them, so
    // that a step in which nothing changed leaves no trace; a step begun inside another
    // belongs to the outer one.
    void beginStep(const QString& name);
    void endStep();

    // The table changed since it was last saved or loaded, and holds relevés to save.
    bool hasUnsavedChanges() const;

    // How long a change runs before it shows the work message (40 ms; tests use 0).
    static void setQuietMs(int ms) { quietMs_ = ms; }

public slots:
    void undo();
    void redo();

signals:
    // A command applied or reverted its change; with `newLayout` another table took this
    // one's place.
    void tableChanged(bool newLayout);

private:
    class PassWatch;

    WindowServices& window_;
    QUndoStack* stack_;
    TableChangeNotifier* notifier_;
    QString stepName_;  // the step begun and not yet opened on the stack
    bool stepPending_ = false, stepOpen_ = false;
    int stepDepth_ = 0;
    static inline int quietMs_ = 40;
};

}  // namespace tavik::ui
