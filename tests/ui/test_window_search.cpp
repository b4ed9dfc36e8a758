// The table search: the panel, exact and partial hits, the list of earlier texts, the
// note in the status line and the release of the hits.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;

class TestWindowSearch : public QObject {
    Q_OBJECT
private slots:
    void searchHits();
    void hitsDoNotStayOnAnotherSpecies();
};

void TestWindowSearch::searchHits() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    w.workspace().table = tavik::testing::MakeTable({{"ブナ", "イヌブナ", "ミズナラ"}, {"ブナ"}});
    w.workspace().table.SetHeaderText(w.workspace().table.ReleveKeyAt(2), 3, "ブナ平");
    w.showTableStatus();
    const int fn = w.workspace().table.FNRow();
    auto* p = w.editing()->searchPanel();
    auto* g = w.grid();

    w.editing()->showSearchPanel();
    QVERIFY(p->isVisible());
    QCOMPARE(Child<QLabel>(p, "searchPrompt")->text(), QStringLiteral("検索する文字列"));
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral(" ブナ "));
    w.editing()->onSearchPartial();
    QVERIFY(!p->isVisible());
    QCOMPARE(g->searchHits(), (std::vector<QPoint>{{2, fn + 1}, {2, fn + 2}, {5, 3}}));
    QCOMPARE(Child<QComboBox>(p, "searchText")->count(), 1);
    QCOMPARE(Child<QComboBox>(p, "searchText")->itemText(0), QStringLiteral(" ブナ "));

    w.editing()->showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ブナ"));
    w.editing()->onSearchExact();
    QCOMPARE(g->searchHits(), (std::vector<QPoint>{{2, fn + 1}}));

    // Enter searches partially; Esc only closes and keeps the hits.
    w.editing()->showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ナラ"));
    QTest::keyClick(Child<QComboBox>(p, "searchText")->lineEdit(), Qt::Key_Return);
    QCOMPARE(g->searchHits(), (std::vector<QPoint>{{2, fn + 3}}));
    QCOMPARE(Child<QComboBox>(p, "searchText")->count(), 3);
    w.editing()->showSearchPanel();
    QTest::keyClick(Child<QComboBox>(p, "searchText")->lineEdit(), Qt::Key_Escape);
    QVERIFY(!p->isVisible());
    QCOMPARE(g->searchHits().size(), std::size_t(1));

    // A blank search clears the hits, so does the release.
    w.editing()->showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("   "));
    w.editing()->onSearchPartial();
    QVERIFY(g->searchHits().empty());
    w.editing()->showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ブナ"));
    w.editing()->onSearchPartial();
    QVERIFY(!g->searchHits().empty());
    // Esc on a button of the panel cancels, the hits stay.
    w.editing()->showSearchPanel();
    QTest::keyClick(Child<QPushButton>(p, "searchPartial"), Qt::Key_Escape);
    QVERIFY(!p->isVisible());
    QVERIFY(!g->searchHits().empty());
    w.editing()->resetSearch();
    QVERIFY(g->searchHits().empty());
    // More matches than marks: the note says the marks stop at twenty.
    {
        std::vector<std::string> many;
        for (int i = 1; i <= 25; ++i) many.push_back("ササ" + std::to_string(i));
        w.workspace().table = tavik::testing::MakeTable({many});
        w.showTableStatus();
        w.editing()->showSearchPanel();
        Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ササ"));
        w.editing()->onSearchPartial();
        QCOMPARE(g->searchHits().size(), std::size_t(20));
        QCOMPARE(w.statusLine()->noteText(), QStringLiteral("「ササ」：20 か所以上"));
        w.editing()->showSearchPanel();
        Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ササ2"));
        w.editing()->onSearchPartial();  // ササ2, ササ20 ... ササ25
        QCOMPARE(w.statusLine()->noteText(), QStringLiteral("「ササ2」：7 か所"));
    }
    // Clearing the table forgets hits too.
    w.editing()->onSearchPartial();
    w.clearTable();
    QVERIFY(g->searchHits().empty());
}

void TestWindowSearch::hitsDoNotStayOnAnotherSpecies() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    w.workspace().table = tavik::testing::MakeTable({{"ブナ", "ギンリョウソウ", "ミズナラ"}});
    w.showTableStatus();
    const Table& t = w.workspace().table;
    const int fn = t.FNRow();
    auto* g = w.grid();
    w.editing()->showSearchPanel();
    Child<QComboBox>(w.editing()->searchPanel(), "searchText")->setEditText(QStringLiteral("ギンリョウ"));
    w.editing()->onSearchPartial();
    QCOMPARE(g->searchHits(), (std::vector<QPoint>{{2, fn + 2}}));
    // Deleting the found species moves ミズナラ onto its row: the mark must not follow the row.
    g->setCurrentCell(2, fn + 2);
    s.dialogs->answers << true;
    w.editing()->deleteRow();
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("ミズナラ"));
    QVERIFY(g->searchHits().empty());
    // Nor does undoing the deletion bring a mark back onto a row.
    w.history()->undo();
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("ギンリョウソウ"));
    QVERIFY(g->searchHits().empty());
}

QTEST_MAIN(TestWindowSearch)
#include "test_window_search.moc"
