// The outputs of the composition table: the output panel in each of its modes, the file
// prompt, printing with the printer setup and the font of printing, the site exports, and
// the header-item configuration that shares the panel.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPrinter>

#include "core/item_selection.h"
#include "output/outputs.h"
#include "output/print_layout.h"
#include "output/site_exports.h"
#include "output/text_layout.h"
#include "ui/freq_window.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/output_panel.h"
#include "print/printer_device.h"
#include "ui/qt_text.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
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
        case SiteExport::SiteData: return kSiteDataMessage;
        case SiteExport::GpsPoints: return kGpsMessage;
        case SiteExport::MeshData: return kMeshMessage;
    }
    return kSiteDataMessage;
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

// ---- Opening the panel ---------------------------------------------------------------------

void MainWindow::showTextOutput() { openOutputPanel(OutputMode::Text); }
void MainWindow::showSpreadsheetOutput() { openOutputPanel(OutputMode::Spreadsheet); }
void MainWindow::showPrintOutput() { openOutputPanel(OutputMode::Print); }
void MainWindow::showSimplePrintOutput() { openOutputPanel(OutputMode::SimplePrint); }
void MainWindow::showValueMatrixOutput() { openOutputPanel(OutputMode::ValueMatrix); }
void MainWindow::showPCordOutput() { openOutputPanel(OutputMode::PCordMatrix); }

void MainWindow::openOutputPanel(OutputMode mode) {
    if (busy_ || ws_.table.ReleveCount() <= 0) return;
    // The options start the way the command line starts them; the counts the outputs read
    // are made current when the output runs.
    const OutputOptions o = OutputOptionsFor(mode, ws_.table, ws_.settings);
    outputPanel_->openForOutput(mode, ItemsOf(ws_.table, true), ws_.table.SpeciesCount(),
                                ws_.table.ReleveCount(), o);
    // The species that occur once, which the text and the full print list only on request.
    OutputOptions once = o;
    once.onceSpecies = false;
    const bool listsOnce = mode == OutputMode::Text || mode == OutputMode::Print;
    outputPanel_->showOnceSpeciesCount(listsOnce ? OnceSpeciesLeftOut(ws_.table, once) : 0);
}

void MainWindow::changeHeaderItems() {
    if (busy_) return;
    if (ws_.table.ReleveCount() > 0 &&
        !dialogs_->askYesNo(this, QStringLiteral("表が初期化されます、続けますか？")))
        return;
    ws_.settings.useDataItem = false;
    updateTicks();
    // Names corrected in the panel take effect with 設定する, as part of its step.
    for (int n = 1; n <= kItemCount; ++n)
        captionsAtOpen_[static_cast<std::size_t>(n)] = ws_.table.ItemBoxes[static_cast<std::size_t>(n)].caption;
    outputPanel_->openForConfiguration(ItemsOf(ws_.table, false));
}

// ---- 出力する and 取止める ---------------------------------------------------------------------

void MainWindow::keepPanelChoices() {
    Settings& s = ws_.settings;
    if (outputPanel_->mode() == OutputMode::ItemConfiguration) return;
    s.frequency = outputPanel_->frequency();
    s.oneTime = outputPanel_->onceSpecies();
    s.direction = outputPanel_->direction();
    s.cvMethod = outputPanel_->method();
    s.utf8Files = outputPanel_->utf8Files();
    if (freqWindow_) freqWindow_->setUtf8Files(s.utf8Files);
}

void MainWindow::runOutput() {
    if (busy_) return;
    outputPanel_->hide();
    const OutputMode mode = outputPanel_->mode();
    if (mode == OutputMode::ItemConfiguration) {
        applyItemSelection(outputPanel_->ticks());
        return;
    }
    keepPanelChoices();
    // The window stays usable while the panel is open: the table may have lost its relevés,
    // and its counts may have changed (a recount that changes any is a step to undo).
    if (ws_.table.ReleveCount() <= 0) return;
    recountFrequencies();
    OutputOptions o = outputPanel_->choices();
    o.layerLabels = ws_.settings.kaisou;
    const PrintFont font = PrintFontOf(ws_.table, ws_.settings);
    o.fontName = font.name;
    o.fontSize = font.size;
    ClampRanges(o, ws_.table);
    if (mode == OutputMode::Print || mode == OutputMode::SimplePrint) printTable(o);
    else writeOutputFile(o);
}

void MainWindow::cancelOutput() {
    if (busy_) return;
    if (outputPanel_->mode() == OutputMode::ItemConfiguration) {
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
    outputPanel_->hide();
}

void MainWindow::editItemCaption(int item, const QString& caption) {
    if (item < 1 || item > kItemCount) return;
    ws_.table.ItemBoxes[static_cast<std::size_t>(item)].caption = S(caption);
}

void MainWindow::chooseOutputFont() {
    if (busy_) return;
    const PrintFont now = PrintFontOf(ws_.table, ws_.settings);
    QFont f(Q(now.name), now.size);
    if (dialogs_->getFont(this, f, QStringLiteral("印刷のフォント"))) {
        // A font of its own: later changes of the table font leave it.
        ws_.settings.outputFontName = S(f.family());
        ws_.settings.outputFontSize = f.pointSize() > 0 ? f.pointSize() : now.size;
    }
    const PrintFont chosen = PrintFontOf(ws_.table, ws_.settings);
    outputPanel_->showFont(Q(chosen.name), chosen.size);
}

// ---- Files ---------------------------------------------------------------------------------

QString MainWindow::askOutputFile(OutputFileKind kind, const std::string& title) {
    const OutputFileRule& rule = OutputFileRuleOf(kind);
    const QString folder = !lastOutputFolder_.isEmpty() ? lastOutputFolder_
                           : !lastTableFolder_.isEmpty() ? lastTableFolder_
                                                         : Q(ws_.settings.directory);
    const QString path = dialogs_->saveFile(this, QStringLiteral("出力ファイルの指定"), rule.filter,
                                            Q(SuggestedOutputName(title, kind)), folder,
                                            QString::fromLatin1(rule.defaultSuffix));
    if (path.isEmpty()) return {};
    if (!confirmReplace(path, rule.askBeforeOverwrite)) return {};
    lastOutputFolder_ = QFileInfo(path).absolutePath();
    return path;
}

bool MainWindow::confirmReplace(const QString& path, bool askOverwrite) {
    if (askOverwrite && QFileInfo::exists(path) && !dialogs_->askYesAbort(this, Q(kOverwriteQuestion)))
        return false;
    // A read-only file is one the user meant to keep: replace it only when asked again.
    if (IsReadOnlyFile(S(path)) &&
        !dialogs_->askYesNo(this, QFileInfo(path).fileName() + QStringLiteral(" は読み取り専用です。置き換えますか？")))
        return false;
    return true;
}

void MainWindow::takeOutputTitle(const std::string& title) {
    // The edited title becomes the table's only once the output goes ahead; a new one is a
    // change of the table that can be undone.
    ws_.settings.title = title;
    pushChange(QStringLiteral("表題の変更"), std::make_unique<TitleChange>(title));
}

void MainWindow::writeOutputFile(OutputOptions o) {
    const std::optional<OutputFileKind> kind = FileKindOf(o.mode);
    if (!kind) return;
    const QString path = askOutputFile(*kind, o.title);
    if (path.isEmpty()) return;
    o.replaceReadOnly = true;  // asked above
    takeOutputTitle(o.title);
    OutputReport report;
    {
        auto busy = BusyScope::working(this);
        WorkProgress progress(message_, true);
        try {
            report = WriteOutputFile(ws_.table, o, S(path), &progress);
        } catch (const OutputCancelled&) {
            busy.end();
            showNote(QStringLiteral("出力を取り止めました"), 5000);
            return;
        } catch (const std::exception& e) {
            busy.end();
            showError(QStringLiteral("出力できません。"), e);
            return;
        }
    }
    outputWritten(path, report);
    // A chosen frequency column that has no relevé to count is said, not dropped silently.
    if (FrequencyLeftOut(ws_.table, o))
        showNote(QStringLiteral("出現頻度の列はありません：測定の出力範囲に種のある測定がありません"), 15000);
}

void MainWindow::outputWritten(const QString& path, const OutputReport& report) {
    const std::string notice = Utf8OutputNotice(S(path), report);
    if (!notice.empty()) {
        dialogs_->inform(this, Q(notice));
        showNote(Q(notice), 15000);
    } else {
        showNote(QStringLiteral("出力しました：") + path, 5000);
    }
    refresh();
}

// ---- Printing ------------------------------------------------------------------------------

QPrinter& MainWindow::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    }
    return *printer_;
}

void MainWindow::setUpPrinter() {
    if (busy_) return;
    dialogs_->setUpPrinter(this, printer());
}

void MainWindow::printTable(const OutputOptions& o) {
    QPrinter& p = printer();
    p.setDocName(Q(o.title));
    // Where no printer is installed the job goes into a PDF file: propose one named after
    // the title, in the folder of the outputs.
    if (p.outputFormat() == QPrinter::PdfFormat && p.outputFileName().isEmpty()) {
        const QString folder = !lastOutputFolder_.isEmpty() ? lastOutputFolder_ : lastTableFolder_;
        QString name = QFileInfo(Q(SuggestedOutputName(o.title, OutputFileKind::Text))).completeBaseName();
        if (name.trimmed().isEmpty()) name = QStringLiteral("組成表");
        p.setOutputFileName(QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(name + QStringLiteral(".pdf")));
    }
    if (!dialogs_->choosePrinter(this, p)) return;
    // Printing into a PDF file goes through a temporary beside it, as every file output.
    const bool toFile = p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty();
    const QString fileName = p.outputFileName();
    if (toFile && !confirmReplace(fileName, false)) return;
    takeOutputTitle(o.title);
    const bool simple = o.mode == OutputMode::SimplePrint;
    try {
        auto busy = BusyScope::working(this, Q(simple ? kSimplePrintMessage : kPrintMessage));
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
            WorkProgress progress(message_, true);
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
        if (!finished) throw std::runtime_error(S(toFile ? fileName : p.printerName()) + " に印刷できません");
        if (file) {
            CheckPdfComplete(file->TemporaryPath(), S(fileName));
            file->Commit();
        }
    } catch (const OutputCancelled&) {
        showNote(QStringLiteral("印刷を取り止めました"), 5000);
        return;
    } catch (const PageTooNarrow& e) {
        showError(QStringLiteral("用紙の幅に表が入りません。フォントを小さくするか、用紙を広げてください。"), e);
        return;
    } catch (const std::exception& e) {
        showError(QStringLiteral("印刷できません。"), e);
        return;
    }
    if (toFile) {
        lastOutputFolder_ = QFileInfo(fileName).absolutePath();
        showNote(QStringLiteral("印刷しました：") + fileName, 5000);
    }
    refresh();
}

// ---- Site exports --------------------------------------------------------------------------

void MainWindow::exportSiteData() { exportSite(SiteExport::SiteData); }
void MainWindow::exportGpsPoints() { exportSite(SiteExport::GpsPoints); }
void MainWindow::exportMeshData() { exportSite(SiteExport::MeshData); }

void MainWindow::exportSite(SiteExport what) {
    if (busy_ || ws_.table.ReleveCount() <= 0) return;
    if (!HasItemsFor(ws_.table, what)) {
        dialogs_->inform(this, Q(kNoOutputDataMessage));
        return;
    }
    const QString path = askOutputFile(KindOf(what), ws_.table.TableTitle);
    if (path.isEmpty()) return;
    OutputReport report;
    {
        auto busy = BusyScope::working(this, Q(SiteMessage(what)));
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
            showError(QStringLiteral("出力できません。"), e);
            return;
        }
    }
    outputWritten(path, report);
}

// ---- The header-item configuration -----------------------------------------------------------

void MainWindow::applyItemSelection(const std::array<bool, kItemCount + 1>& ticked) {
    // The table before is kept whole: undoing gives back its relevés and its header items.
    auto busy = BusyScope::working(this, QStringLiteral("　組成表を白紙化しています　"));
    Table laidOut = ws_.table;
    ApplyItemSelection(laidOut, ticked);
    // The names corrected in the panel are part of this step: undone, the items have the
    // names they had when the panel opened, which the outputs then read.
    for (int n = 1; n <= kItemCount; ++n)
        ws_.table.ItemBoxes[static_cast<std::size_t>(n)].caption = captionsAtOpen_[static_cast<std::size_t>(n)];
    pushChange(QStringLiteral("表組み項目の変更"), std::make_unique<ReplaceTableChange>(std::move(laidOut)), true);
}

}  // namespace tavik::ui
