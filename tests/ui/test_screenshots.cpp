// Pictures of the main window for a person to look at: the empty window, a retrieved table,
// every panel, hidden ranges and the data-check mode. Written to $TAVIK_SHOTS_DIR (skipped
// when it is not set; scripts/screenshots.sh sets it).
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QtTest>

#include "scripted_dialogs.h"
#include "ui/about_box.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/work_message.h"

using tavik::testing::SharedData;
using tavik::testing::StartWindow;

class TestScreenshots : public QObject {
    Q_OBJECT
private slots:
    void shots();

private:
    void Shot(QWidget* w, const QString& name) {
        QCoreApplication::processEvents();
        const QString path = QDir(dir_).filePath(name);
        QVERIFY(w->grab().save(path));
    }
    QString dir_;
};

void TestScreenshots::shots() {
    dir_ = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir_.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(dir_);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    w.resize(1100, 720);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Shot(&w, QStringLiteral("01_empty.png"));

    // The example field data, all relevés with ブナ or シラビソ.
    s.dialogs->files << SharedData(QStringLiteral("example/example.tki"));
    w.Item_FileChgClick();
    w.Item_AddReleveClick();
    auto* r = w.Panel_AddReleve();
    r->EditName[0]->setText(QStringLiteral("ブナ"));
    r->EditName[1]->setText(QStringLiteral("シラビソ"));
    r->RG_Retr[1]->button(0)->setChecked(true);
    w.BtnRetrNewClick(false);
    Shot(&w, QStringLiteral("02_retrieval_panel.png"));
    s.dialogs->texts << QStringLiteral("ブナ林とシラビソ林");
    w.BtnToTableClick();
    Shot(&w, QStringLiteral("03_retrieved_table.png"));

    w.Item_SortPlantClick();
    Shot(&w, QStringLiteral("04_range_panel_sort.png"));
    w.BtnSortGoClick();

    w.ShowWorkMess(QStringLiteral("　植物を並べ替えています　"), QStringLiteral("123"));
    Shot(&w, QStringLiteral("05_work_message.png"));
    w.CloseWorkMess();

    w.Item_SearchClick();
    w.QueryPanel()->QueryBox->setEditText(QStringLiteral("ブナ"));
    Shot(&w, QStringLiteral("06_search_panel.png"));
    w.QueryBtn1Click(false);
    Shot(&w, QStringLiteral("07_search_hits.png"));
    w.Item_ResetSearchClick();

    // Pop-up buttons of a species row and a relevé column, and a long header text.
    auto* g = w.VegTable();
    const int fn = w.Ws().table.FNRow();
    const QRect rowCell = g->CellRect(2, fn + 3);
    w.VegTableMouseDown(Qt::RightButton, {}, 2, fn + 3, rowCell.center());
    Shot(&w, QStringLiteral("08_row_buttons.png"));
    w.VegTableMouseUp(Qt::RightButton, {}, 2, fn + 3, rowCell.center());
    const QRect colCell = g->CellRect(6, 2);
    w.VegTableMouseDown(Qt::RightButton, {}, 6, 2, colCell.center());
    Shot(&w, QStringLiteral("09_column_buttons.png"));
    w.VegTableMouseUp(Qt::RightButton, {}, 6, 2, colCell.center());
    const QRect siteCell = g->CellRect(6, 3);
    w.VegTableMouseDown(Qt::LeftButton, {}, 6, 3, siteCell.center());
    Shot(&w, QStringLiteral("10_long_cell_text.png"));
    w.VegTableMouseUp(Qt::LeftButton, {}, 6, 3, siteCell.center());

    // Hiding a range: the instruction, the panel, the result.
    w.Item_HideRCClick();
    Shot(&w, QStringLiteral("11_hide_instruction.png"));
    g->SetRangeSelect(true);
    g->SetSelectedRect(QRect(QPoint(6, fn + 2), QPoint(10, fn + 8)));
    w.VegTableMouseUp(Qt::LeftButton, {}, 10, fn + 8, g->CellRect(10, fn + 8).center());
    Shot(&w, QStringLiteral("12_range_panel_hide.png"));
    w.BtnSortGoClick();
    Shot(&w, QStringLiteral("13_hidden_ranges.png"));
    w.Item_HideRCClick();
    w.Item_HideSiteClick();
    Shot(&w, QStringLiteral("14_site_rows_hidden.png"));
    w.Item_HideSiteClick();

    s.dialogs->answers << true;
    w.DataChkModeClick();
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
        small.dialogs->files << SharedData(QStringLiteral("example/example.tki"));
        small.w->Item_FileChgClick();
        small.w->Item_AddReleveClick();
        Shot(small.w.get(), QStringLiteral("18_default_size_retrieval.png"));
    }

    tavik::ui::AboutBox box(QStringLiteral("4.15"), &w);
    box.show();
    Shot(&box, QStringLiteral("16_about.png"));
}

QTEST_MAIN(TestScreenshots)
#include "test_screenshots.moc"
