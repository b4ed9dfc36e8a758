// Retrieval of relevés: the panel's scans, the putting into the table, and its other
// buttons. The scan shows its counters while it runs and can be stopped.
#pragma once

#include <QObject>
#include <functional>

#include "formats/workspace.h"

class QWidget;

namespace tavik::ui {

class RetrievalPanel;
class WindowServices;

class RetrievalController : public QObject {
    Q_OBJECT
public:
    RetrievalController(WindowServices& window, QWidget* panelParent, QObject* parent);
    RetrievalPanel* panel() const { return panel_; }

public slots:
    void showRetrievalPanel();
    void scanFieldData(bool additional);
    void resetRetrieval();
    void putIntoTable();
    void closeRetrievalPanel();
    void convertToStandardNames();

signals:
    // The panel's button for another data file: the window asks for it, then the panel
    // shows again.
    void dataFileChangeRequested();

private:
    // Runs one pass of the retrieval under the work message with its stop button; false
    // when the pass failed (the error has been shown).
    bool runRetrievalPass(const QString& what, bool scanning, const std::function<void(RetrievalProgress&)>& pass);

    WindowServices& window_;
    Workspace& ws_;
    RetrievalPanel* panel_;
};

}  // namespace tavik::ui
