// The second window: a table of texts (a constancy table, a score table, or one read from a
// file) that the user prints, copies, writes as text or CSV, reads back from CSV and merges
// with saved text tables. It is created hidden with the main window, shown and hidden but
// never destroyed, and keeps its content while hidden.
#pragma once

#include <QFont>
#include <QWidget>

#include "core/freq_table.h"

class QAction;
class QComboBox;
class QPagedPaintDevice;
class QPrinter;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace tavik::ui {

class FreqGrid;
class UserDialogs;

class FreqWindow : public QWidget {
    Q_OBJECT
public:
    explicit FreqWindow(QWidget* parent);

    // The dialogs the window asks through (the main window's).
    void setDialogs(UserDialogs* dialogs) { dialogs_ = dialogs; }

    // Fills the window and shows it. Constancy mode offers every button; score mode only
    // printing, copying and closing. `tableFont` is the table font (a size in points).
    void showTable(FreqTable table, const QFont& tableFont, bool constancyMode);
    // Shows the window with whatever it last held.
    void reshow();

    const FreqTable& table() const { return table_; }
    FreqGrid* grid() const { return grid_; }
    bool constancyMode() const { return constancyMode_; }
    QFont tableFont() const { return font_; }
    // The text the copy button puts on the clipboard.
    QString clipboardText() const;
    QToolButton* button(const char* name) const;
    // 文字コード of the text and CSV files written from the window (true: UTF-8 with a BOM).
    bool utf8Files() const;
    void setUtf8Files(bool utf8);

signals:
    // The user chose another 文字コード; the settings keep it.
    void utf8FilesChosen(bool utf8);

public slots:
    void printTable();       // 印　刷
    void copyToClipboard();  // 全コピー
    void closeTable();       // 終了: hides the window, the content stays
    void writeText();        // テキスト書出
    void writeCsv();         // CSV書出
    void writeXlsx();        // Excel書出
    void mergeText();        // テキスト読込
    void readCsv();          // CSV読込
    void chooseFont();       // フォント
    void sortByBlocks();     // 診断種順: the species in the diagnostic blocks of a fidelity

public:
    // Prints the table on an already chosen device (a printer, a PDF writer), without asking.
    void printOn(QPagedPaintDevice* device);

private:
    // A tool button in `holder` that calls `slot`, with its hint as tool tip and status tip.
    QToolButton* makeTool(QWidget* holder, const char* name, const QString& caption, const QString& hint,
                          void (FreqWindow::*slot)());
    // The file and font buttons, shown only for a constancy table.
    QWidget* createFileButtons();
    // The block sort and the encoding of the files written, in the status bar.
    void createStatusWidgets();
    void contentChanged();
    // Widens the group columns so that the headings (count, mean species number) show whole.
    void fitColumnsToHeadings();
    // The first time the window shows: a size that shows the table, beside the main window.
    void placeBesideParent();
    // Asks where to save (filter 2 for text, 3 for CSV, 4 for .xlsx); empty when cancelled
    // or declined.
    QString askSavePath(int filterIndex, const QString& suffix);
    void fail(const std::exception& e);

    UserDialogs* dialogs_ = nullptr;
    FreqTable table_;
    QFont font_;
    bool constancyMode_ = true;
    bool placed_ = false;
    FreqGrid* grid_;
    QToolBar* tools_;
    QAction* filePanel_;
    QComboBox* encoding_;
    QStatusBar* status_;
};

}  // namespace tavik::ui
