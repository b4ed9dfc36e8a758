// Everything the main window asks the user through a modal dialog: files, questions,
// notices, a line of text, a font. The window talks to this interface only, so the
// commands can be driven without a person (tests replace it with scripted answers).
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace tavik::ui {

// The filters of the open and save dialogs, in their order; commands pick one by its
// 1-based position.
const QStringList& OpenFilters();
const QStringList& SaveFilters();
// The name chosen in a save dialog, completed for a filter of a two-part suffix: with
// "圧縮した組成表 (*.vtb.zst)", "t.vtb" becomes "t.vtb.zst". Other names stay.
QString WithFilterSuffix(const QString& path, const QString& filter);

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // The chosen file's path, or an empty text when the user cancelled. `fileName` is the
    // proposed name (or a pattern such as "*.vtb"), `dir` the initial folder.
    virtual QString openFile(QWidget* parent, const QString& title, int filterIndex, const QString& fileName,
                             const QString& dir);
    virtual QString saveFile(QWidget* parent, const QString& title, int filterIndex, const QString& fileName,
                             const QString& dir, const QString& defaultSuffix);
    // The same with a list of filters of their own (the second window's files).
    virtual QString openFileFiltered(QWidget* parent, const QString& title, const QStringList& filters, int filterIndex,
                                     const QString& fileName, const QString& dir);
    virtual QString saveFileFiltered(QWidget* parent, const QString& title, const QStringList& filters, int filterIndex,
                                     const QString& fileName, const QString& dir, const QString& defaultSuffix);
    // The print dialog: false when cancelled; otherwise `printer` is set up for the job.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer);
    // The printer setup (paper, orientation, margins) of `printer`; false when cancelled.
    virtual bool setUpPrinter(QWidget* parent, QPrinter& printer);
    // Yes and No; true only for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text);
    // Yes and Abort (overwriting a file); true only for Yes.
    virtual bool askYesAbort(QWidget* parent, const QString& text);
    // 保存 / 保存しない / キャンセル, before a table with unsaved changes goes.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice askSaveChanges(QWidget* parent, const QString& text);
    // Whether to restore the table a program that did not end cleanly left in the
    // recovery file; true to restore.
    virtual bool askRestore(QWidget* parent, const QString& text);
    virtual void inform(QWidget* parent, const QString& text);
    virtual void error(QWidget* parent, const QString& text);
    // A one-line input box; false when cancelled (then `text` is unchanged).
    virtual bool getText(QWidget* parent, const QString& caption, const QString& prompt, QString& text);
    // The font dialog under `title`; false when cancelled.
    virtual bool getFont(QWidget* parent, QFont& font, const QString& title);
    // Shows a modal dialog (the about box).
    virtual void showModal(QWidget* dialog);
    // Opens a local file in the desktop's browser; false when nothing could open it.
    virtual bool openInBrowser(const QString& path);
};

}  // namespace tavik::ui
