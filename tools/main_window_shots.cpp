// Pictures of the main window for a person to look at: the empty window, a retrieved table,
// every panel, hidden ranges and the data-check mode. Written to $TAVIK_SHOTS_DIR, which must
// be set (scripts/screenshots.sh sets it). Not a test: it drives the window with the tests'
// scripted dialogs, but checks nothing but that each picture is saved.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include "tests/ui/scripted_dialogs.h"
#include "ui/about_box.h"
#include "ui/grid_pointer.h"
#include "ui/grid_widget.h"
#include "ui/output_controller.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/work_message.h"

using tavik::testing::StartWindow;
using tavik::testing::TestDataFile;

class MainWindowShots : public QObject {
    Q_OBJECT
private slots:
    void shots();
    void sizes();

private:
    void Shot(QWidget* w, const QString& name) {
        QCoreApplication::processEvents();
        const QString path = QDir(dir_).filePath(name);
        QVERIFY(w->grab().save(path));
    }
    QString dir_;
};

void MainWindowShots::shots() {
    dir_ = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir_.isEmpty()) QFAIL("TAVIK_SHOTS_DIR is not set: the folder for the pictures");
    QDir().mkpath(dir_);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    w.resize(1100, 720);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Shot(&w, QStringLiteral("01_empty.png"));

    // The example field data, all relevés with ブナ or シラビソ.
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    w.retrieval()->showRetrievalPanel();
    auto* r = w.retrieval()->panel();
    r->setCondition(0, QStringLiteral("ブナ"), 0, tavik::Connective::And);
    r->setCondition(1, QStringLiteral("シラビソ"), 0, tavik::Connective::Or);
    w.retrieval()->scanFieldData(false);
    Shot(&w, QStringLiteral("02_retrieval_panel.png"));
    s.dialogs->texts << QStringLiteral("ブナ林とシラビソ林");
    w.retrieval()->putIntoTable();
    Shot(&w, QStringLiteral("03_retrieved_table.png"));

    w.ranges()->sortSpecies();
    Shot(&w, QStringLiteral("04_range_panel_sort.png"));
    w.ranges()->applyRange();

    w.workMessage()->showMessage(QStringLiteral("　植物を並べ替えています　"), QStringLiteral("123"));
    Shot(&w, QStringLiteral("05_work_message.png"));
    w.workMessage()->hide();

    w.editing()->showSearchPanel();
    w.editing()
        ->searchPanel()
        ->findChild<QComboBox*>(QStringLiteral("searchText"))
        ->setEditText(QStringLiteral("ブナ"));
    Shot(&w, QStringLiteral("06_search_panel.png"));
    w.editing()->onSearchPartial();
    Shot(&w, QStringLiteral("07_search_hits.png"));
    w.editing()->resetSearch();

    // Pop-up buttons of a species row and a relevé column, and a long header text.
    auto* g = w.grid();
    const int fn = w.workspace().table.FNRow();
    const QRect rowCell = g->cellRect(2, fn + 3);
    w.gridPointer()->onGridPressed(Qt::RightButton, {}, 2, fn + 3, rowCell.center());
    Shot(&w, QStringLiteral("08_row_buttons.png"));
    w.gridPointer()->onGridReleased(Qt::RightButton, {}, 2, fn + 3, rowCell.center());
    const QRect colCell = g->cellRect(6, 2);
    w.gridPointer()->onGridPressed(Qt::RightButton, {}, 6, 2, colCell.center());
    Shot(&w, QStringLiteral("09_column_buttons.png"));
    w.gridPointer()->onGridReleased(Qt::RightButton, {}, 6, 2, colCell.center());
    const QRect siteCell = g->cellRect(6, 3);
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 6, 3, siteCell.center());
    Shot(&w, QStringLiteral("10_long_cell_text.png"));
    w.gridPointer()->onGridReleased(Qt::LeftButton, {}, 6, 3, siteCell.center());

    // Hiding a range: the instruction, the panel, the result.
    w.ranges()->toggleHiddenRanges();
    Shot(&w, QStringLiteral("11_hide_instruction.png"));
    g->setRangeSelect(true);
    g->setSelectedRect(QRect(QPoint(6, fn + 2), QPoint(10, fn + 8)));
    w.gridPointer()->onGridReleased(Qt::LeftButton, {}, 10, fn + 8, g->cellRect(10, fn + 8).center());
    Shot(&w, QStringLiteral("12_range_panel_hide.png"));
    w.ranges()->applyRange();
    Shot(&w, QStringLiteral("13_hidden_ranges.png"));
    w.ranges()->toggleHiddenRanges();
    w.ranges()->toggleSiteRows();
    Shot(&w, QStringLiteral("14_site_rows_hidden.png"));
    w.ranges()->toggleSiteRows();

    s.dialogs->answers << true;
    w.chooseDataCheckMode();
    Shot(&w, QStringLiteral("15_data_check.png"));

    // The menus, opened one by one.
    int m = 0;
    for (QAction* top : w.menuBar()->actions()) {
        QMenu* menu = top->menu();
        menu->popup(w.mapToGlobal(w.menuBar()->actionGeometry(top).bottomLeft()));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        Shot(menu, QStringLiteral("17_menu_%1.png").arg(++m));
        menu->hide();
    }

    // The retrieval panel in a window of the default size.
    {
        QTemporaryDir tmp2;
        auto small = StartWindow(tmp2.path());
        QVERIFY(QTest::qWaitForWindowExposed(small.w.get()));
        small.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
        small.w->chooseDataFile();
        small.w->retrieval()->showRetrievalPanel();
        Shot(small.w.get(), QStringLiteral("18_default_size_retrieval.png"));
    }

    tavik::ui::AboutBox box(QStringLiteral("4.15"), &w);
    box.show();
    Shot(&box, QStringLiteral("16_about.png"));
}

// The window at the size it opens at and at 1024 x 768: the table, the output panel, the
// header-item configuration, the recovery question, and a table of more than 10,000
// relevés at its end, where the numbers show whole.
void MainWindowShots::sizes() {
    dir_ = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir_.isEmpty()) QFAIL("TAVIK_SHOTS_DIR is not set: the folder for the pictures");
    QDir().mkpath(dir_);
    for (const QSize size : {QSize(), QSize(1024, 768)}) {
        const QString tag = size.isValid() ? QStringLiteral("1024x768") : QStringLiteral("default");
        QTemporaryDir tmp;
        auto s = StartWindow(tmp.path());
        auto& w = *s.w;
        const QSize opened = w.size();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        s.dialogs->files << TestDataFile(QStringLiteral("example/example.vtb"));
        w.openTable();
        // The example's settings file names a size of its own: the one under test wins.
        w.resize(size.isValid() ? size : opened);
        Shot(&w, QStringLiteral("size_%1_table.png").arg(tag));
        w.output()->showTextOutput();
        Shot(&w, QStringLiteral("size_%1_output_panel.png").arg(tag));
        w.output()->cancelOutput();
        s.dialogs->answers << true;  // 表が初期化されます、続けますか？
        w.output()->changeHeaderItems();
        Shot(&w, QStringLiteral("size_%1_configuration.png").arg(tag));
        w.output()->cancelOutput();

        tavik::ui::UserDialogs real;
        bool grabbed = false;
        QTimer::singleShot(300, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            grabbed = box->grab().save(QDir(dir_).filePath(QStringLiteral("size_%1_recovery_question.png").arg(tag)));
            for (QAbstractButton* b : box->buttons())
                if (b->text().startsWith(QStringLiteral("復元しない"))) b->click();
        });
        real.askRestore(&w,
                        QStringLiteral("前回は変更を保存しないまま終了しました。\n2026年12月7日 18:30 に自動保存した"
                                       "組成表「ブナ林とシラビソ林」を復元しますか？"));
        QVERIFY(grabbed);

        // 10,050 relevés: the last columns and the frequencies have five digits.
        tavik::Table& t = w.workspace().table;
        t = tavik::Table();
        t.ItemBoxes[1].enabled = t.ItemBoxes[1].checked = true;
        t.ClearTable();
        const int common = t.AppendSpecies("ブナ");
        const int some = t.AppendSpecies("ミズナラ");
        tavik::LayerCovers c{};
        c[4] = 10;
        for (int q = 1; q <= 10050; ++q) {
            const int rk = t.ReleveKeyAt(t.AppendReleve());
            t.SetCell(rk, t.SpeciesKeyAt(common), "3", c);
            if (q % 3 == 0) t.SetCell(rk, t.SpeciesKeyAt(some), "1", c);
        }
        t.Recount();
        w.showTableStatus();
        w.grid()->setTable(&t);
        w.grid()->setCurrentCell(tavik::Table::ReleveColumn(10050), t.FNRow() + 1);
        w.grid()->scrollToEnd();
        Shot(&w, QStringLiteral("size_%1_whole_numbers.png").arg(tag));
        w.undoStack()->setClean();
    }
}

QTEST_MAIN(MainWindowShots)
#include "main_window_shots.moc"
