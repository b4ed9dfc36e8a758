// Dialog answers given in advance, so the main window's commands run without a person.
#pragma once

#include <functional>
#include <optional>

#include <QDir>
#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/test_files.h"
#include "ui/analysis_controller.h"
#include "ui/editing_controller.h"
#include "ui/main_window.h"
#include "ui/output_controller.h"
#include "ui/retrieval_controller.h"
#include "ui/user_dialogs.h"

namespace tavik::testing {

class ScriptedDialogs : public ui::UserDialogs {
public:
    // Answers, taken from the front; an empty file answer or a missing one is "cancelled".
    QStringList files;
    QList<bool> answers;
    QStringList texts;  // for getText; a null QString cancels
    // What was asked and shown.
    QStringList titles, questions, errors, notices;
    QStringList openedInBrowser;
    int modalShown = 0;

    QString openFile(QWidget*, const QString& title, int, const QString&, const QString&) override {
        titles << title;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString saveFile(QWidget*, const QString& title, int, const QString& fileName, const QString&,
                     const QString&) override {
        titles << title;
        proposedSaveName = fileName;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString openFileFiltered(QWidget*, const QString& title, const QStringList&, int, const QString&,
                             const QString&) override {
        titles << title;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString saveFileFiltered(QWidget*, const QString& title, const QStringList&, int, const QString& fileName,
                             const QString&, const QString&) override {
        titles << title;
        proposedSaveName = fileName;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    // Printing goes to this PDF file; an empty name cancels the print dialog.
    QString printPdf;
    bool choosePrinter(QWidget*, QPrinter& printer) override {
        if (printPdf.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printPdf);
        return true;
    }
    // The printer setup is counted and left as it is.
    int printerSetups = 0;
    bool setUpPrinter(QWidget*, QPrinter&) override {
        ++printerSetups;
        return true;
    }
    bool askYesNo(QWidget*, const QString& text) override { return Answer(text); }
    bool askYesAbort(QWidget*, const QString& text) override { return Answer(text); }
    void inform(QWidget*, const QString& text) override { notices << text; }
    void error(QWidget*, const QString& text) override {
        errors << text;
        if (onError) onError();
    }
    bool getText(QWidget*, const QString& caption, const QString& prompt, QString& text) override {
        titles << caption;
        lastPrompt = prompt;
        lastProposal = text;
        if (texts.isEmpty() || texts.front().isNull()) {
            if (!texts.isEmpty()) texts.removeFirst();
            return false;
        }
        text = texts.takeFirst();
        return true;
    }
    bool getFont(QWidget*, QFont& font, const QString& title) override {
        titles << title;
        if (!fontAnswer) return false;
        font = *fontAnswer;
        return true;
    }
    void showModal(QWidget*) override { ++modalShown; }
    bool openInBrowser(const QString& path) override {
        openedInBrowser << path;
        return browserStarts;
    }
    bool browserStarts = true;

    QString proposedSaveName, lastPrompt, lastProposal;
    std::optional<QFont> fontAnswer;
    // Called while an error is shown, to look at the window behind the box.
    std::function<void()> onError;
    // The question before unsaved changes go: answered from the front, "保存しない" when
    // none is left (the window's behaviour before it asked).
    QList<SaveChoice> saveChoices;
    QStringList saveQuestions;
    SaveChoice askSaveChanges(QWidget*, const QString& text) override {
        saveQuestions << text;
        return saveChoices.isEmpty() ? SaveChoice::Discard : saveChoices.takeFirst();
    }
    // The offer of a recovery file: declined unless answered.
    QList<bool> restoreAnswers;
    QStringList restoreQuestions;
    bool askRestore(QWidget*, const QString& text) override {
        restoreQuestions << text;
        return restoreAnswers.isEmpty() ? false : restoreAnswers.takeFirst();
    }

private:
    bool Answer(const QString& text) {
        questions << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
};

// A main window started and shown as from a program in `programDir` with `args`, its
// dialogs scripted.
struct Started {
    std::unique_ptr<ui::MainWindow> w;
    ScriptedDialogs* dialogs = nullptr;
};

inline Started StartWindow(const QString& programDir, const QStringList& args = {}) {
    // The recovery file of a test window stays in its own folder, never the user's.
    qputenv("TAVIK_RECOVERY_DIR", QDir(programDir).filePath(QStringLiteral("recovery")).toUtf8());
    Started s;
    s.w = std::make_unique<ui::MainWindow>();
    auto d = std::make_unique<ScriptedDialogs>();
    s.dialogs = d.get();
    s.w->setDialogs(std::move(d));
    s.w->start(args, QDir(programDir).filePath(QStringLiteral("tavik")));
    s.w->show();
    // A table named on the command line opens once the window shows.
    if (!QTest::qWaitFor([&] { return !s.w->startTablePending(); }, 30000))
        qWarning("the table named at start had not opened after 30 s");
    return s;
}

// A control of a panel by its object name; the test fails at once when it is not there.
template <class T>
T* Child(const QObject* parent, const char* name) {
    T* c = parent->findChild<T*>(QLatin1String(name));
    if (!c) qFatal("no control %s", name);
    return c;
}

// An input file of the checkout: "example/example.tki", "dune/dune.tki".
inline QString TestDataFile(const QString& rel) { return QString::fromStdString(TestData(rel.toStdString())); }

}  // namespace tavik::testing
