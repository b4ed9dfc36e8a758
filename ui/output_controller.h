// The outputs of the composition table: the output panel in each of its modes, the file
// prompt, printing with the printer setup and the font of printing, the site exports, and
// the header-item configuration that shares the panel.
#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <string>

#include "core/table.h"
#include "formats/workspace.h"
#include "output/options.h"
#include "output/output_file.h"
#include "output/site_exports.h"

class QPrinter;
class QWidget;

namespace tavik::ui {

class OutputPanel;
class WindowServices;

class OutputController : public QObject {
    Q_OBJECT
public:
    OutputController(WindowServices& window, QWidget* panelParent, QObject* parent);
    ~OutputController() override;
    OutputPanel* panel() const { return panel_; }
    // The printer that the print dialog and the printer setup share.
    QPrinter& printer();

public slots:
    // The panel in the mode of each command; its buttons 出力する and 取止める.
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
    // The settings file keeps the panel's check boxes and radio groups as they are.
    void keepPanelChoices();
    void setUpPrinter();
    void exportSiteData();
    void exportGpsPoints();
    void exportMeshData();
    // 表組み項目の変更, and its 設定する: ticked items get header rows, and the table is laid
    // out anew, empty.
    void changeHeaderItems();
    void applyItemSelection(const std::array<bool, kItemCount + 1>& ticked);

signals:
    // The panel's choice of UTF-8 files was kept in the settings.
    void utf8FilesChosen(bool utf8);

private:
    void openOutputPanel(OutputMode mode);
    QString askOutputFile(OutputFileKind kind, const std::string& title);
    bool confirmReplace(const QString& path, bool askOverwrite);
    void takeOutputTitle(const std::string& title);
    void writeOutputFile(OutputOptions o);
    void outputWritten(const QString& path, const OutputReport& report);
    void printTable(const OutputOptions& o);
    void exportSite(SiteExport what);

    WindowServices& window_;
    Workspace& ws_;
    OutputPanel* panel_;
    std::unique_ptr<QPrinter> printer_;
    QString lastOutputFolder_;
    // The header items' names when the configuration opened.
    std::array<std::string, kItemCount + 1> captionsAtOpen_;
};

}  // namespace tavik::ui
