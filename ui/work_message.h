// The work message: a small panel of two centred lines that shows while a long command
// runs (and carries the instruction while the user drags a range to hide). The window
// keeps painting meanwhile; a scan also offers a button that stops it.
#pragma once

#include <QElapsedTimer>
#include <QFrame>

#include "core/progress.h"

class QLabel;
class QPushButton;

namespace tavik::ui {

class WorkMessage : public QFrame {
    Q_OBJECT
public:
    explicit WorkMessage(QWidget* parent);

    // Shows the two lines centred over the parent and paints them at once.
    void showMessage(const QString& line1, const QString& line2);
    void setLines(const QString& line1, const QString& line2);
    QString line1() const;
    QString line2() const;
    // The stop button ("中止"), shown only for commands that can be stopped.
    void setCancelVisible(bool on);
    QPushButton* cancelButton() const { return cancel_; }
    // Places the panel in the upper middle of its parent, or (for an instruction that stays
    // while the user works on the grid) in its upper right corner.
    void place();
    void setAsNote(bool note) { note_ = note; }

signals:
    void cancelRequested();

private:
    QLabel* line1_;
    QLabel* line2_;
    QPushButton* cancel_;
    bool note_ = false;
};

// Progress of a long command shown on the work message. Lines are painted at once; the
// event loop runs at most every 40 ms so the window stays painted without slowing the work.
// With `stoppable`, user input is processed too (the caller disables everything else) and
// the stop button ends the work at its next safe point.
class WorkProgress : public tavik::Progress {
public:
    WorkProgress(WorkMessage* panel, bool stoppable);
    ~WorkProgress() override;
    void Show(const std::string& line1, const std::string& line2) override;
    bool Cancelled() override;
    // Runs the event loop now if the last run is long enough ago.
    void pump(bool force = false);
    // How long the work runs between two turns of the event loop (40 ms; tests use 0).
    static void setPumpInterval(int ms) { interval_ = ms; }

private:
    WorkMessage* panel_;
    bool stoppable_;
    bool cancelled_ = false;
    QElapsedTimer sincePump_;
    QMetaObject::Connection conn_;
    static inline int interval_ = 40;
};

}  // namespace tavik::ui
