// The outputs of the composition table: the output panel in each of its modes, the file
// prompt, printing with the printer setup and the font of printing, the site exports, and
// the header-item configuration that shares the panel.
#include "ui/output_controller.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPrinter>

#include "core/item_selection.h"
#include "output/outputs.h"
#include "output/print_layout.h"
#include "output/site_exports.h"
#include "output/text_layout.h"
#include "print/printer_device.h"
#include "ui/busy_scope.h"
#include "ui/output_panel.h"
#include "ui/qt_text.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/window_services.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {

PanelItems ItemsOf(const Table& t, bool tickShown) {
    PanelItems items;
    for (int n = 1; n <= kItemCount; ++n) {
        const ItemBox& box = t.ItemBoxes[static_cast<std::size_t>(n)];
        PanelItem& item = items[static_cast<std::size_t>(n)];
        item.caption = Q(box.caption);
        // An item the table shows can be chosen, and starts chosen each time.
        item.enabled = t.HeaderRowOfItem(n) > 0;
        item.checked = tickShown ? item.enabled : box.checked;
    }
    return items;
}

const char* SiteMessage(SiteExport what) {
    switch (what) {
        case SiteExport::SiteData: return Tr(kSiteDataMessage);
        case SiteExport::GpsPoints: return Tr(kGpsMessage);
        case SiteExport::MeshData: return Tr(kMeshMessage);
    }
    return Tr(kSiteDataMessage);
}

OutputFileKind KindOf(SiteExport what) {
    switch (what) {
        case SiteExport::SiteData: return OutputFileKind::SiteData;
        case SiteExport::GpsPoints: return OutputFileKind::GpsPoints;
        case SiteExport::MeshData: return OutputFileKind::MeshData;
    }
    return OutputFileKind::SiteData;
}

}  // namespace

OutputController::OutputController(WindowServices& window, QWidget* panelParent, QObject* parent)
    : QObject(parent), window_(window), ws_(window.workspace()), panel_(new OutputPanel(panelParent)) {
    connect(panel_, &OutputPanel::outputRequested, this, &OutputController::runOutput);
    connect(panel_, &OutputPanel::cancelRequested, this, &OutputController::cancelOutput);
    connect(panel_, &OutputPanel::fontRequested, this, &OutputController::chooseOutputFont);
    connect(panel_, &OutputPanel::captionEdited, this, &OutputController::editItemCaption);
    connect(panel_, &OutputPanel::choicesChanged, this, &OutputController::keepPanelChoices);
}

OutputController::~OutputController() = default;

// ---- Opening the panel ---------------------------------------------------------------------

void OutputController::showTextOutput() { openOutputPanel(OutputMode::Text); }
void OutputController::showSpreadsheetOutput() { openOutputPanel(OutputMode::Spreadsheet); }
void OutputController::showPrintOutput() { openOutputPanel(OutputMode::Print); }
void OutputController::showSimplePrintOutput() { openOutputPanel(OutputMode::SimplePrint); }
void OutputController::showValueMatrixOutput() { openOutputPanel(OutputMode::ValueMatrix); }
void OutputController::showPCordOutput() { openOutputPanel(OutputMode::PCordMatrix); }

void OutputController::openOutputPanel(OutputMode mode) {
    if (window_.isBusy() || ws_.table.ReleveCount() <= 0) return;
    // The options start the way the command line starts them; the counts the outputs read
    // are made current when the output runs.
    const OutputOptions o = OutputOptionsFor(mode, ws_.table, ws_.settings);
    panel_->openForOutput(mode, ItemsOf(ws_.table, true), ws_.table.SpeciesCount(), ws_.table.ReleveCount(), o);
    // The species that occur once, which the text and the full print list only on request.
    OutputOptions once = o;
    once.onceSpecies = false;
    const bool listsOnce = mode == OutputMode::Text || mode == OutputMode::Print;
    panel_->showOnceSpeciesCount(listsOnce ? OnceSpeciesLeftOut(ws_.table, once) : 0);
}

void OutputController::changeHeaderItems() {
    if (window_.isBusy()) return;
    if (ws_.table.ReleveCount() > 0 &&
        !window_.dialogs().askYesNo(
            window_.dialogParent(),
            QCoreApplication::translate("OutputController", "表が初期化されます、続けますか？")))
        return;
    ws_.settings.useDataItem = false;
    window_.updateTicks();
    // Names corrected in the panel take effect with 設定する, as part of its step.
    for (int n = 1; n <= kItemCount; ++n)
        captionsAtOpen_[static_cast<std::size_t>(n)] = ws_.table.ItemBoxes[static_cast<std::size_t>(n)].caption;
    panel_->openForConfiguration(ItemsOf(ws_.table, false));
}

// ---- 出力する and 取止める ---------------------------------------------------------------------

void OutputController::keepPanelChoices() {
    Settings& s = ws_.settings;
    if (panel_->mode() == OutputMode::ItemConfiguration) return;
    s.frequency = panel_->frequency();
    s.oneTime = panel_->onceSpecies();
    s.direction = panel_->direction();
    s.cvMethod = panel_->method();
    s.utf8Files = panel_->utf8Files();
    emit utf8FilesChosen(s.utf8Files);
}

void OutputController::runOutput() {
    if (window_.isBusy()) return;
    panel_->hide();
    const OutputMode mode = panel_->mode();
    if (mode == OutputMode::ItemConfiguration) {
        applyItemSelection(panel_->ticks());
        return;
    }
    keepPanelChoices();
    // The window stays usable while the panel is open: the table may have lost its relevés,
    // and its counts may have changed (a recount that changes any is a step to undo).
    if (ws_.table.ReleveCount() <= 0) return;
    window_.recountFrequencies();
    OutputOptions o = panel_->choices();
    o.layerLabels = ws_.settings.kaisou;
    const PrintFont font = PrintFontOf(ws_.table, ws_.settings);
    o.fontName = font.name;
    o.fontSize = font.size;
    ClampRanges(o, ws_.table);
    if (mode == OutputMode::Print || mode == OutputMode::SimplePrint) printTable(o);
    else writeOutputFile(o);
}

void OutputController::cancelOutput() {
    if (window_.isBusy()) return;
    if (panel_->mode() == OutputMode::ItemConfiguration) {
        // The choices of the configuration are dropped: every item is ticked as it shows.
        // So are the names corrected meanwhile.
        for (int n = 1; n <= kItemCount; ++n) {
            ItemBox& box = ws_.table.ItemBoxes[static_cast<std::size_t>(n)];
            box.checked = box.enabled;
            box.caption = captionsAtOpen_[static_cast<std::size_t>(n)];
        }
    } else {
        keepPanelChoices();
    }
    panel_->hide();
}

void OutputController::editItemCaption(int item, const QString& caption) {
    if (item < 1 || item > kItemCount) return;
    ws_.table.ItemBoxes[static_cast<std::size_t>(item)].caption = S(caption);
}

void OutputController::chooseOutputFont() {
    if (window_.isBusy()) return;
    const PrintFont now = PrintFontOf(ws_.table, ws_.settings);
    QFont f(Q(now.name), now.size);
    if (window_.dialogs().getFont(window_.dialogParent(), f,
                                  QCoreApplication::translate("OutputController", "印刷のフォント"))) {
        // A font of its own: later changes of the table font leave it.
        ws_.settings.outputFontName = S(f.family());
        ws_.settings.outputFontSize = f.pointSize() > 0 ? f.pointSize() : now.size;
    }
    const PrintFont chosen = PrintFontOf(ws_.table, ws_.settings);
    panel_->showFont(Q(chosen.name), chosen.size);
}

// ---- Files ---------------------------------------------------------------------------------

QString OutputController::askOutputFile(OutputFileKind kind, const std::string& title) {
    const OutputFileRule& rule = OutputFileRuleOf(kind);
    const QString folder = !lastOutputFolder_.isEmpty()       ? lastOutputFolder_
                           : !window_.tableFolder().isEmpty() ? window_.tableFolder()
                                                              : Q(ws_.settings.directory);
    const QString path = window_.dialogs().saveFile(
        window_.dialogParent(), QCoreApplication::translate("OutputController", "出力ファイルの指定"), rule.filter,
        Q(SuggestedOutputName(title, kind)), folder, QString::fromLatin1(rule.defaultSuffix));
    if (path.isEmpty()) return {};
    if (!confirmReplace(path, rule.askBeforeOverwrite)) return {};
    lastOutputFolder_ = QFileInfo(path).absolutePath();
    return path;
}

bool OutputController::confirmReplace(const QString& path, bool askOverwrite) {
    if (askOverwrite && QFileInfo::exists(path) &&
        !window_.dialogs().askYesAbort(
            window_.dialogParent(),
            QCoreApplication::translate("OutputController", "同名のファイルが存在します。書き換えますか？")))
        return false;
    // A read-only file is one the user meant to keep: replace it only when asked again.
    if (IsReadOnlyFile(S(path)) &&
        !window_.dialogs().askYesNo(
            window_.dialogParent(),
            QCoreApplication::translate("OutputController", "%1 は読み取り専用です。置き換えますか？")
                .arg(QFileInfo(path).fileName())))
        return false;
    return true;
}

void OutputController::takeOutputTitle(const std::string& title) {
    // The edited title becomes the table's only once the output goes ahead; a new one is a
    // change of the table that can be undone.
    ws_.settings.title = title;
    window_.pushChange(QCoreApplication::translate("OutputController", "表題の変更"),
                       std::make_unique<TitleChange>(title));
}

void OutputController::writeOutputFile(OutputOptions o) {
    const std::optional<OutputFileKind> kind = FileKindOf(o.mode);
    if (!kind) return;
    const QString path = askOutputFile(*kind, o.title);
    if (path.isEmpty()) return;
    o.replaceReadOnly = true;  // asked above
    takeOutputTitle(o.title);
    OutputReport report;
    {
        auto busy = BusyScope::working(&window_);
        WorkProgress progress(window_.workMessage(), true);
        try {
            report = WriteOutputFile(ws_.table, o, S(path), &progress);
        } catch (const OutputCancelled&) {
            busy.end();
            window_.showNote(QCoreApplication::translate("OutputController", "出力を取り止めました"), 5000);
            return;
        } catch (const std::exception& e) {
            busy.end();
            window_.showError(QCoreApplication::translate("OutputController", "出力できません。"), e);
            return;
        }
    }
    outputWritten(path, report);
    // A chosen frequency column that has no relevé to count is said, not dropped silently.
    if (FrequencyLeftOut(ws_.table, o))
        window_.showNote(QCoreApplication::translate(
                             "OutputController", "出現頻度の列はありません：測定の出力範囲に種のある測定がありません"),
                         15000);
}

void OutputController::outputWritten(const QString& path, const OutputReport& report) {
    const std::string notice = Utf8OutputNotice(S(path), report);
    if (!notice.empty()) {
        window_.dialogs().inform(window_.dialogParent(), Q(notice));
        window_.showNote(Q(notice), 15000);
    } else {
        window_.showNote(QCoreApplication::translate("OutputController", "出力しました：%1").arg(path), 5000);
    }
    window_.refresh();
}

// ---- Printing ------------------------------------------------------------------------------

QPrinter& OutputController::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    }
    return *printer_;
}

void OutputController::setUpPrinter() {
    if (window_.isBusy()) return;
    window_.dialogs().setUpPrinter(window_.dialogParent(), printer());
}

void OutputController::printTable(const OutputOptions& o) {
    QPrinter& p = printer();
    p.setDocName(Q(o.title));
    // Where no printer is installed the job goes into a PDF file: propose one named after
    // the title, in the folder of the outputs.
    if (p.outputFormat() == QPrinter::PdfFormat && p.outputFileName().isEmpty()) {
        const QString folder = !lastOutputFolder_.isEmpty() ? lastOutputFolder_ : window_.tableFolder();
        QString name = QFileInfo(Q(SuggestedOutputName(o.title, OutputFileKind::Text))).completeBaseName();
        if (name.trimmed().isEmpty()) name = QCoreApplication::translate("OutputController", "組成表");
        p.setOutputFileName(QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(name + QStringLiteral(".pdf")));
    }
    if (!window_.dialogs().choosePrinter(window_.dialogParent(), p)) return;
    // Printing into a PDF file goes through a temporary beside it, as every file output.
    const bool toFile = p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty();
    const QString fileName = p.outputFileName();
    if (toFile && !confirmReplace(fileName, false)) return;
    takeOutputTitle(o.title);
    const bool simple = o.mode == OutputMode::SimplePrint;
    try {
        auto busy = BusyScope::working(&window_, Q(Tr(simple ? kSimplePrintMessage : kPrintMessage)));
        std::unique_ptr<AtomicFile> file;
        if (toFile) {
            file = std::make_unique<AtomicFile>(S(fileName), AtomicFile::ReadOnlyTarget::Replace);
            p.setOutputFileName(Q(file->TemporaryPath()));
        }
        struct RestoreName {
            QPrinter& p;
            QString name;
            bool on;
            ~RestoreName() {
                if (on) p.setOutputFileName(name);
            }
        } restore{p, fileName, toFile};
        bool finished = false;
        {
            PrinterTextDevice device(&p, Q(o.fontName), o.fontSize);
            WorkProgress progress(window_.workMessage(), true);
            try {
                if (simple) PrintSimple(ws_.table, o, device, &progress);
                else PrintFull(ws_.table, o, device, &progress);
            } catch (...) {
                // The job that was started goes nowhere: no empty page comes out.
                p.abort();
                throw;
            }
            finished = device.Finish();
        }
        if (!finished)
            throw std::runtime_error(S(QCoreApplication::translate("OutputController", "%1 に印刷できません")
                                           .arg(toFile ? fileName : p.printerName())));
        if (file) {
            CheckPdfComplete(file->TemporaryPath(), S(fileName));
            file->Commit();
        }
    } catch (const OutputCancelled&) {
        window_.showNote(QCoreApplication::translate("OutputController", "印刷を取り止めました"), 5000);
        return;
    } catch (const PageTooNarrow& e) {
        window_.showError(
            QCoreApplication::translate("OutputController",
                                        "用紙の幅に表が入りません。フォントを小さくするか、用紙を広げてください。"),
            e);
        return;
    } catch (const std::exception& e) {
        window_.showError(QCoreApplication::translate("OutputController", "印刷できません。"), e);
        return;
    }
    if (toFile) {
        lastOutputFolder_ = QFileInfo(fileName).absolutePath();
        window_.showNote(QCoreApplication::translate("OutputController", "印刷しました：%1").arg(fileName), 5000);
    }
    window_.refresh();
}

// ---- Site exports --------------------------------------------------------------------------

void OutputController::exportSiteData() { exportSite(SiteExport::SiteData); }
void OutputController::exportGpsPoints() { exportSite(SiteExport::GpsPoints); }
void OutputController::exportMeshData() { exportSite(SiteExport::MeshData); }

void OutputController::exportSite(SiteExport what) {
    if (window_.isBusy() || ws_.table.ReleveCount() <= 0) return;
    if (!HasItemsFor(ws_.table, what)) {
        window_.dialogs().inform(window_.dialogParent(), Q(Tr(kNoOutputDataMessage)));

        return;
    }
    const QString path = askOutputFile(KindOf(what), ws_.table.TableTitle);
    if (path.isEmpty()) return;
    OutputReport report;
    {
        auto busy = BusyScope::working(&window_, Q(SiteMessage(what)));
        try {
            const std::string p = S(path);
            const auto target = AtomicFile::ReadOnlyTarget::Replace;  // asked above
            if (what == SiteExport::SiteData)
                report = WriteSiteData(ws_.table, p, target,
                                       ws_.settings.utf8Files ? TextEncoding::Utf8 : TextEncoding::Cp932);
            else if (what == SiteExport::GpsPoints) report = WriteGpsPoints(ws_.table, p, target);
            else report = WriteMeshData(ws_.table, p, target);
        } catch (const std::exception& e) {
            busy.end();
            window_.showError(QCoreApplication::translate("OutputController", "出力できません。"), e);
            return;
        }
    }
    outputWritten(path, report);
}

// ---- The header-item configuration -----------------------------------------------------------

void OutputController::applyItemSelection(const std::array<bool, kItemCount + 1>& ticked) {
    // The table before is kept whole: undoing gives back its relevés and its header items.
    auto busy =
        BusyScope::working(&window_, QCoreApplication::translate("OutputController", "　組成表を白紙化しています　"));
    Table laidOut = ws_.table;
    ApplyItemSelection(laidOut, ticked);
    // The names corrected in the panel are part of this step: undone, the items have the
    // names they had when the panel opened, which the outputs then read.
    for (int n = 1; n <= kItemCount; ++n)
        ws_.table.ItemBoxes[static_cast<std::size_t>(n)].caption = captionsAtOpen_[static_cast<std::size_t>(n)];
    window_.pushChange(QCoreApplication::translate("OutputController", "表組み項目の変更"),
                       std::make_unique<ReplaceTableChange>(std::move(laidOut)), true);
}

}  // namespace tavik::ui
