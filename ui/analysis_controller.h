// The analyses of the table: reciprocal averaging (the score table and, on request, the
// table ordered by the scores), the constancy panel and table, and the species ordered by
// their diagnostic blocks; the tables are shown in the second window.
#pragma once

#include <QObject>

#include "formats/workspace.h"

class QWidget;

namespace tavik::ui {

class ConstancyPanel;
class FreqWindow;
class WindowServices;

class AnalysisController : public QObject {
    Q_OBJECT
public:
    // The constancy panel floats over `panelParent`; the second window belongs to
    // `windowParent`.
    AnalysisController(WindowServices& window, QWidget* panelParent, QWidget* windowParent, QObject* parent);
    ConstancyPanel* constancyPanel() const { return constancyPanel_; }
    FreqWindow* freqWindow() const { return freqWindow_; }

public slots:
    void reciprocalAveraging();
    void showConstancyPanel();
    void makeConstancyTable();
    void cancelConstancyPanel();
    void showFreqWindow();
    // The species rows of the composition table in the diagnostic blocks of the fidelity
    // chosen in the constancy panel.
    void sortByDiagnosticBlocks();

signals:
    // A table was shown in the second window; `reshowCaption` is the command that shows it
    // again ("常在度表を再表示する").
    void tableShown(const QString& reshowCaption);

private:
    WindowServices& window_;
    Workspace& ws_;
    ConstancyPanel* constancyPanel_;
    FreqWindow* freqWindow_;
};

}  // namespace tavik::ui
