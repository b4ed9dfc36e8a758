#include "ui/freq_window.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

#include "core/covers.h"
#include "formats/freq_table_files.h"
#include "output/freq_table_sheet.h"
#include "print/printer_device.h"
#include "print/table_font.h"
#include "ui/freq_grid.h"
#include "ui/qt_text.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

namespace {

TextEncoding EncodingOf(bool utf8) { return utf8 ? TextEncoding::Utf8 : TextEncoding::Cp932; }

const QStringList& FreqOpenFilters() {
    static const QStringList f = {QCoreApplication::translate("FreqWindow", "CSV常在度表 (*.csv)"),
                                  QCoreApplication::translate("FreqWindow", "テキスト形式 (*.txt)")};
    return f;
}

const QStringList& FreqSaveFilters() {
    static const QStringList f = {QCoreApplication::translate("FreqWindow", "常在度表で保存 (*.ftb)"),
                                  QCoreApplication::translate("FreqWindow", "テキストで保存 (*.txt)"),
                                  QCoreApplication::translate("FreqWindow", "CSVファイルで保存 (*.csv)"),
                                  QCoreApplication::translate("FreqWindow", "エクセル・ファイル (*.xlsx)")};
    return f;
}

// The wait cursor while a file is read or written, restored on every path.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

FreqWindow::FreqWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("freqWindow"));
    setWindowTitle(Q(table_.caption));
    resize(576, 552);

    tools_ = new QToolBar(this);
    tools_->setObjectName(QStringLiteral("freqTools"));
    tools_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools_->setMovable(false);
    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(true);
    tools_->addWidget(makeTool(tools_, "printButton", QCoreApplication::translate("FreqWindow", "印　刷"),
                               QCoreApplication::translate("FreqWindow", "表を直接印刷する"), &FreqWindow::printTable));
    tools_->addWidget(makeTool(tools_, "copyButton", QCoreApplication::translate("FreqWindow", "全コピー"),
                               QCoreApplication::translate("FreqWindow", "表をクリップボードに"),
                               &FreqWindow::copyToClipboard));
    tools_->addWidget(makeTool(tools_, "closeButton", QCoreApplication::translate("FreqWindow", "終了"),
                               QCoreApplication::translate("FreqWindow", "常在度表を消去する"),
                               &FreqWindow::closeTable));
    filePanel_ = tools_->addWidget(createFileButtons());
    createStatusWidgets();

    grid_ = new FreqGrid(this);
    grid_->setObjectName(QStringLiteral("freqGrid"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(tools_);
    lay->addWidget(grid_, 1);
    lay->addWidget(status_);
    // Wide enough for every button of a constancy table, so that none goes into the tool
    // bar's overflow menu.
    resize(std::max(width(), tools_->sizeHint().width() + 8), height());

    font_ = ResolveTableFont("ＭＳ 明朝", 9);  // data, not interface
    table_.fixedRows = 1;
    grid_->setGridFont(GridDrawingFont(font_));
    grid_->setTable(&table_);
}

QToolButton* FreqWindow::makeTool(QWidget* holder, const char* name, const QString& caption, const QString& hint,
                                  void (FreqWindow::*slot)()) {
    auto* b = new QToolButton(holder);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, slot);
    return b;
}

QWidget* FreqWindow::createFileButtons() {
    auto* panel = new QWidget(tools_);
    panel->setObjectName(QStringLiteral("fileButtons"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(makeTool(panel, "writeTextButton", QCoreApplication::translate("FreqWindow", "テキスト書出"),
                            QCoreApplication::translate("FreqWindow", "表を互換テキストファイルにする"),
                            &FreqWindow::writeText));
    row->addWidget(makeTool(panel, "writeCsvButton", QCoreApplication::translate("FreqWindow", "CSV書出"),
                            QCoreApplication::translate("FreqWindow", "表をCSV形式で書き出す"), &FreqWindow::writeCsv));
    row->addWidget(
        makeTool(panel, "writeXlsxButton", QCoreApplication::translate("FreqWindow", "Excel書出"),
                 QCoreApplication::translate("FreqWindow", "表をエクセル・ファイルに書き出す（診断種は群の色）"),
                 &FreqWindow::writeXlsx));
    row->addWidget(makeTool(panel, "readTextButton", QCoreApplication::translate("FreqWindow", "テキスト読込"),
                            QCoreApplication::translate("FreqWindow", "テキスト保存した表を読み込む"),
                            &FreqWindow::mergeText));
    row->addWidget(makeTool(panel, "readCsvButton", QCoreApplication::translate("FreqWindow", "CSV読込"),
                            QCoreApplication::translate("FreqWindow", "保存したCSV常在度表を読み込む"),
                            &FreqWindow::readCsv));
    row->addWidget(makeTool(panel, "fontButton", QCoreApplication::translate("FreqWindow", "フォント"),
                            QCoreApplication::translate("FreqWindow", "表のフォントを変更する"),
                            &FreqWindow::chooseFont));
    return panel;
}

void FreqWindow::createStatusWidgets() {
    // The block sort belongs to a constancy table with the fidelity; it waits in the status
    // bar, where it does not crowd the tool bar of the window's first size.
    auto* blockSort =
        makeTool(status_, "blockSortButton", QCoreApplication::translate("FreqWindow", "診断種順"),
                 QCoreApplication::translate("FreqWindow", "植物を区分ごとの診断種のまとまりに並べ替える"),
                 &FreqWindow::sortByBlocks);
    status_->addPermanentWidget(blockSort);
    blockSort->hide();
    // The 文字コード of the files written, beside them in the status bar for the same reason.
    encoding_ = new QComboBox(status_);
    encoding_->setObjectName(QStringLiteral("encodingBox"));
    encoding_->addItems({QStringLiteral("CP932"), QStringLiteral("UTF-8")});
    encoding_->setToolTip(
        QCoreApplication::translate("FreqWindow", "テキストとCSVの文字コード（UTF-8 はどの言語の表計算でも読めます）"));
    connect(encoding_, &QComboBox::activated, this, [this](int index) { emit utf8FilesChosen(index == 1); });
    status_->addPermanentWidget(encoding_);
}

QToolButton* FreqWindow::button(const char* name) const { return findChild<QToolButton*>(QLatin1String(name)); }

void FreqWindow::showTable(FreqTable table, const QFont& tableFont, bool constancyMode) {
    table_ = std::move(table);
    font_ = tableFont;
    constancyMode_ = constancyMode;
    filePanel_->setVisible(constancyMode);
    encoding_->setVisible(constancyMode);
    grid_->setGridFont(GridDrawingFont(font_));
    grid_->setTable(&table_);
    grid_->scrollToCell(table_.fixedCols, table_.fixedRows);
    fitColumnsToHeadings();
    contentChanged();
    reshow();
}

void FreqWindow::fitColumnsToHeadings() {
    const QFontMetrics fm(GridDrawingFont(font_));
    int widest = 0;
    for (int r = 0; r < std::min(table_.fixedRows, table_.RowCount()); ++r)
        for (int c = table_.fixedCols; c < table_.ColCount(); ++c)
            widest = std::max(widest, fm.horizontalAdvance(Q(table_.Text(c, r))));
    // The text starts a little into its cell and needs the same room at its end.
    table_.defaultColWidth = std::max(table_.defaultColWidth, widest + 6);
}

void FreqWindow::placeBesideParent() {
    placed_ = true;
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* sc = main ? main->screen() : screen();
    if (!sc) return;
    const QRect avail = sc->availableGeometry();
    // Room for every column and row, up to most of the screen.
    int w = 0;
    for (int c = 0; c < table_.ColCount(); ++c) w += table_.ColWidth(c) + 1;
    const int h = table_.RowCount() * (table_.defaultRowHeight + 1);
    const QSize extra = size() - grid_->viewport()->size();
    // At least as wide as the tool bar, so that no button goes into its overflow menu.
    const int widest = avail.width() * 4 / 5;
    const int narrowest = std::min(std::max(420, tools_->sizeHint().width() + 8), widest);
    const QSize want(std::clamp(w + extra.width() + 4, narrowest, widest),
                     std::clamp(h + extra.height() + 4, 360, avail.height() * 4 / 5));
    resize(want);
    QPoint at = avail.topLeft() + QPoint(40, 40);
    if (main) {
        const QRect m = main->frameGeometry();
        if (m.right() + want.width() <= avail.right()) at = QPoint(m.right() + 1, m.top());
        else if (m.left() - want.width() >= avail.left()) at = QPoint(m.left() - want.width(), m.top());
        else at = m.topLeft() + QPoint(m.width() / 3, 60);
    }
    at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() - want.width())));
    at.setY(std::clamp(at.y(), avail.top(), std::max(avail.top(), avail.bottom() - want.height())));
    move(at);
}

void FreqWindow::reshow() {
    if (!placed_) placeBesideParent();
    show();
    raise();
    activateWindow();
}

void FreqWindow::contentChanged() {
    setWindowTitle(Q(table_.caption));
    // Only a constancy table made with the fidelity knows its blocks.
    if (QToolButton* b = button("blockSortButton")) {
        b->setVisible(table_.HasRowBlocks());
        b->setEnabled(table_.HasRowBlocks());
    }
    grid_->tableChanged();
}

QString FreqWindow::clipboardText() const { return Q(FreqTableClipboardText(table_)); }

void FreqWindow::copyToClipboard() { QApplication::clipboard()->setText(clipboardText()); }

void FreqWindow::closeTable() { hide(); }

void FreqWindow::fail(const std::exception& e) {
    if (dialogs_) dialogs_->error(this, Q(e.what()));
}

QString FreqWindow::askSavePath(int filterIndex, const QString& suffix) {
    if (!dialogs_) return {};
    const QString path =
        dialogs_->saveFileFiltered(this, QCoreApplication::translate("FreqWindow", "常在度表の保存"), FreqSaveFilters(),
                                   filterIndex, Q(table_.caption) + QLatin1Char('.') + suffix, QString(), suffix);
    if (path.isEmpty()) return {};
    if (QFileInfo::exists(path) &&
        !dialogs_->askYesAbort(
            this, QCoreApplication::translate("FreqWindow", "同名のファイルが存在します。書き換えますか？")))
        return {};
    return path;
}

void FreqWindow::writeText() {
    const QString path = askSavePath(2, QStringLiteral("txt"));
    if (path.isEmpty()) return;
    try {
        WaitCursor wait;
        WriteFreqTableText(S(path), table_, ShortDateToday(), AtomicFile::ReadOnlyTarget::Refuse,
                           EncodingOf(utf8Files()));
    } catch (const std::exception& e) {
        fail(e);
    }
}

void FreqWindow::writeCsv() {
    const QString path = askSavePath(3, QStringLiteral("csv"));
    if (path.isEmpty()) return;
    try {
        WaitCursor wait;
        WriteFreqTableCsv(S(path), table_, AtomicFile::ReadOnlyTarget::Refuse, EncodingOf(utf8Files()));
    } catch (const std::exception& e) {
        fail(e);
    }
}

void FreqWindow::writeXlsx() {
    const QString path = askSavePath(4, QStringLiteral("xlsx"));
    if (path.isEmpty()) return;
    try {
        WaitCursor wait;
        WriteFreqTableSheet(table_, S(path));
    } catch (const std::exception& e) {
        fail(e);
    }
}

bool FreqWindow::utf8Files() const { return encoding_->currentIndex() == 1; }

void FreqWindow::setUtf8Files(bool utf8) { encoding_->setCurrentIndex(utf8 ? 1 : 0); }

void FreqWindow::readCsv() {
    if (!dialogs_) return;
    const QString path =
        dialogs_->openFileFiltered(this, QCoreApplication::translate("FreqWindow", "常在度表（CSV）の読込"),
                                   FreqOpenFilters(), 1, QStringLiteral("*.csv"), {});
    if (path.isEmpty()) return;
    try {
        WaitCursor wait;
        ReadFreqTableCsv(S(path), table_);
    } catch (const std::exception& e) {
        fail(e);
        return;
    }
    contentChanged();
}

void FreqWindow::mergeText() {
    if (!dialogs_) return;
    const QString path =
        dialogs_->openFileFiltered(this, QCoreApplication::translate("FreqWindow", "テキスト形式の常在度表の読込"),
                                   FreqOpenFilters(), 2, QStringLiteral("*.txt"), {});
    if (path.isEmpty()) return;
    try {
        WaitCursor wait;
        MergeFreqTableText(S(path), table_);
    } catch (const std::exception& e) {
        fail(e);
        return;
    }
    contentChanged();
}

void FreqWindow::chooseFont() {
    if (dialogs_) {
        QFont f = font_;
        if (dialogs_->getFont(this, f, QCoreApplication::translate("FreqWindow", "常在度表のフォント"))) font_ = f;
    }
    // The sizes follow the font whether or not it changed.
    const int pt = font_.pointSize() > 0 ? font_.pointSize() : 9;
    const QFont drawing = GridDrawingFont(font_);
    grid_->setGridFont(drawing);
    table_.defaultRowHeight = FreqRowHeight(pt);
    int widest = 2;
    if (table_.RowCount() > 3) {
        const QFontMetrics fm(drawing);
        for (int c = 1; c < table_.ColCount(); ++c)
            widest = std::max(widest, fm.horizontalAdvance(Q(table_.Text(c, 3))));
    }
    table_.defaultColWidth = 5 + widest;
    table_.colWidths = {20 * pt};
    fitColumnsToHeadings();
    contentChanged();
}

void FreqWindow::sortByBlocks() {
    if (table_.SortRowsByBlocks()) contentChanged();
}

void FreqWindow::printTable() {
    if (!dialogs_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Q(table_.caption));
    if (!dialogs_->choosePrinter(this, printer)) return;
    try {
        printOn(&printer);
    } catch (const std::exception& e) {
        fail(e);
    }
}

void FreqWindow::printOn(QPagedPaintDevice* device) {
    WaitCursor wait;
    PrinterTextDevice out(device, font_.family(), font_.pointSize());
    // The page's width in half-width characters of the font, so that no group wraps.
    const int bytes = FullPrintColumns(out) * 5;
    for (const std::string& line : FreqTablePrintLines(table_, constancyMode_, bytes)) out.Line(line);
    if (!out.Finish())
        throw std::runtime_error(QCoreApplication::translate("FreqWindow", "印刷できませんでした").toStdString());
}

}  // namespace tavik::ui
