// What the tests of the main window share: a started window with scripted dialogs (from
// scripted_dialogs.h), a small table to put into it, and ways to look at the table and files.
#pragma once

#include <QAction>
#include <QFile>
#include <QStringList>

#include <string>

#include "scripted_dialogs.h"
#include "tests/core/test_helpers.h"
#include "ui/analysis_controller.h"
#include "ui/editing_controller.h"
#include "ui/grid_pointer.h"
#include "ui/main_window.h"
#include "ui/output_controller.h"
#include "ui/qt_text.h"
#include "ui/retrieval_controller.h"
#include "ui/status_line.h"

namespace tavik::testing {

using ui::MainWindow;
using ui::OutputController;
using ui::Q;

// The outputs that follow the table: enabled once it holds relevés.
inline const char* const kOutputs[] = {"saveTable", "outputTable", "valueMatrix", "pcordCsv", "siteData"};

inline QAction* Action(const MainWindow& w, const char* name) { return w.findChild<QAction*>(QLatin1String(name)); }

// Every cell text of the used part of the grid except the key row and column.
inline QStringList UsedTexts(const Table& t) {
    QStringList out;
    for (int r = 1; r <= t.FNRow() + t.SpeciesCount(); ++r)
        for (int c = 1; c <= t.ReleveCount() + 3; ++c) out << Q(t.Text(c, r));
    return out;
}

inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The grid row of a species, or -1.
inline int RowOf(const Table& t, const std::string& name) {
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == name) return t.FNRow() + p;
    return -1;
}

// Replaces the window's table by a small one: relevés {A,B}, {A,C}, {D}.
inline void SmallTable(MainWindow& w) {
    w.workspace().table = MakeTable({{"A", "B"}, {"A", "C"}, {"D"}});
    w.showTableStatus();
}

}  // namespace tavik::testing
