// A user's road through the program with real input and the real dialogs: the example
// settings given on the command line, the example field data chosen in the file dialog,
// two conditions typed into the retrieval panel, the title typed into its prompt, a sort,
// a search by Enter, a range hidden by dragging, rows and columns deleted and inserted
// through the pop-up buttons and the menu with their questions answered, the table saved
// through the save dialog, quit from the menu, and a second start on the saved table.
// Keys and clicks go through the window system (menus by their accelerators). With
// $TAVIK_SHOTS_DIR set, every step leaves a picture of the screen there.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <functional>

#include "ui/analysis_controller.h"
#include "ui/application.h"
#include "ui/editing_controller.h"
#include "ui/grid_pointer.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/output_controller.h"
#include "ui/panels.h"
#include "ui/qt_text.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"
#include "ui/status_line.h"
#include "ui/work_message.h"

using tavik::ui::MainWindow;
using tavik::ui::Q;

namespace {

// What a person does: keys and clicks delivered to the window under them.
// The window a person works in is the active one (no window manager gives it back after
// a dialog closed).
void Activate(QWidget* top) {
    if (QApplication::activeWindow() == top) return;
    top->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(top));
}
void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QWidget* top = w->window();
    if (!QApplication::activePopupWidget() && !QApplication::activeModalWidget()) Activate(top);
    QTest::keyClick(top->windowHandle(), key, mods);
}
void KeyToPopup(Qt::Key key) {
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QTest::keyClick(popup->windowHandle(), key);
}
// Japanese text arrives from the input method as a committed string.
void Type(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}
QPoint InWindow(QWidget* w, QPoint p) { return w->mapTo(w->window(), p); }
void Click(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint at = {}) {
    if (at.isNull()) at = w->rect().center();
    QTest::mouseClick(w->window()->windowHandle(), b, {}, InWindow(w, at));
}
void Press(QWidget* w, Qt::MouseButton b, QPoint at) {
    QTest::mousePress(w->window()->windowHandle(), b, {}, InWindow(w, at));
}
void Move(QWidget* w, QPoint at) { QTest::mouseMove(w->window()->windowHandle(), InWindow(w, at)); }
void Release(QWidget* w, Qt::MouseButton b, QPoint at) {
    QTest::mouseRelease(w->window()->windowHandle(), b, {}, InWindow(w, at));
}

// Opens a menu by its accelerator and clicks one of its items.
void Pick(QWidget* w, Qt::Key menuKey, QAction* item) {
    Key(w, menuKey, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QRect r = menu->actionGeometry(item);
    QVERIFY(r.isValid());
    QTest::mouseMove(menu->windowHandle(), r.center());
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, r.center());
}

// Runs `act` on the next modal dialog (other than `notThis`) once it has shown.
void OnModal(std::function<void(QWidget*)> act, QWidget* notThis = nullptr) {
    auto* t = new QTimer;
    t->setInterval(20);
    QObject::connect(t, &QTimer::timeout, [t, act, notThis] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || m == notThis || !m->isVisible()) return;
        t->stop();
        t->deleteLater();
        QTest::qWait(50);
        act(m);
    });
    t->start();
}

// The file dialog: types the path into its name field and confirms.
void ChooseFile(QWidget* dlg, const QString& path) {
    auto* fd = qobject_cast<QFileDialog*>(dlg);
    QVERIFY(fd);
    fd->selectFile(path);
    auto* edit = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setFocus();
    edit->setText(path);
    QTest::keyClick(edit, Qt::Key_Return);
}

QAbstractButton* ButtonNamed(QWidget* dlg, const QString& text) {
    for (QAbstractButton* b : dlg->findChildren<QAbstractButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

class TestUserRoad : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void road();

private:
    void Shot(const QString& name);
    QString shots_;
    int n_ = 0;
};

void TestUserRoad::initTestCase() {
    shots_ = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    tavik::ui::SetUpApplication(*qApp);
}

void TestUserRoad::Shot(const QString& name) {
    QCoreApplication::processEvents();
    QTest::qWait(30);
    if (shots_.isEmpty()) return;
    QDir().mkpath(shots_);
    const QString path =
        QDir(shots_).filePath(QStringLiteral("road_%1_%2.png").arg(++n_, 2, 10, QLatin1Char('0')).arg(name));
    QPixmap pm;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        pm = QGuiApplication::primaryScreen()->grabWindow(0);
    } else {
        QWidget* top = QApplication::activeModalWidget();
        if (!top) top = QApplication::activePopupWidget();
        if (!top) top = QApplication::activeWindow();
        if (top) pm = top->grab();
    }
    pm.save(path);
}

void TestUserRoad::road() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    for (const char* f : {"example.ini", "example.tki", "example.tkd", "異名表.dic"})
        QVERIFY(QFile::copy(QDir(QStringLiteral(TAVIK_SOURCE_DIR "/examples")).filePath(QString::fromUtf8(f)),
                            dir.filePath(QString::fromUtf8(f))));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString ini = dir.filePath(QStringLiteral("example.ini"));
    qputenv("TAVIK_RECOVERY_DIR", dir.filePath(QStringLiteral("recovery")).toUtf8());

    auto w = std::make_unique<MainWindow>();
    w->start({ini}, dir.filePath(QStringLiteral("tavik")));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->activateWindow();
    QTest::qWait(50);
    Shot(QStringLiteral("start"));
    const tavik::Table& t = w->workspace().table;
    QCOMPARE(t.ReleveCount(), 0);

    // The data file, chosen in the open dialog.
    Key(w.get(), Qt::Key_F, Qt::AltModifier);
    Shot(QStringLiteral("file_menu"));
    bool chosen = false;
    OnModal([&](QWidget* d) {
        Shot(QStringLiteral("open_dialog"));
        ChooseFile(d, dir.filePath(QStringLiteral("example.tki")));
        chosen = true;
    });
    KeyToPopup(Qt::Key_F);
    QTRY_VERIFY(chosen);
    QTRY_COMPARE(w->workspace().releveRecordCount > 0, true);
    Shot(QStringLiteral("file_chosen"));

    // The retrieval panel: ブナ or シラビソ.
    Key(w.get(), Qt::Key_F, Qt::AltModifier);
    KeyToPopup(Qt::Key_A);
    auto* r = w->retrieval()->panel();
    QTRY_VERIFY(r->isVisible());
    QCOMPARE(QApplication::focusWidget(),
             static_cast<QWidget*>(r->findChild<QLineEdit*>(QStringLiteral("meshPrefix"))));
    Click(r->findChild<QLineEdit*>(QStringLiteral("speciesName1")));
    Type(r->findChild<QLineEdit*>(QStringLiteral("speciesName1")), QStringLiteral("ブナ"));
    Key(r, Qt::Key_Tab);
    Click(r->findChild<QLineEdit*>(QStringLiteral("speciesName2")));
    Type(r->findChild<QLineEdit*>(QStringLiteral("speciesName2")), QStringLiteral("シラビソ"));
    Click(r->findChild<QRadioButton*>(QStringLiteral("connective2_0")));
    QVERIFY(r->findChild<QRadioButton*>(QStringLiteral("connective2_0"))->isChecked());
    Shot(QStringLiteral("retrieval_conditions"));
    Click(r->findChild<QPushButton*>(QStringLiteral("scanNew")));
    QTRY_VERIFY(r->hitsText().toInt() > 0);
    const int hits = r->hitsText().toInt();
    Shot(QStringLiteral("retrieval_scanned"));

    bool titled = false;
    QString proposed;
    OnModal([&](QWidget* d) {
        Shot(QStringLiteral("title_prompt"));
        auto* edit = d->findChild<QLineEdit*>();
        proposed = edit->text();
        edit->selectAll();
        Type(edit, QStringLiteral("山地の森林"));
        QTest::keyClick(edit, Qt::Key_Return);
        titled = true;
    });
    Click(r->findChild<QPushButton*>(QStringLiteral("putIntoTable")));
    QTRY_VERIFY(titled);
    // The data file's header record gave the title the prompt proposes.
    QCOMPARE(proposed, QStringLiteral("本州中部・北部の森林"));
    QTRY_COMPARE(t.ReleveCount(), hits);
    QCOMPARE(Q(t.TableTitle), QStringLiteral("山地の森林"));
    QVERIFY(w->windowTitle().endsWith(QStringLiteral("    山地の森林")));
    Shot(QStringLiteral("table"));
    // Thirty header rows leave little room for species: the window is made larger.
    w->resize(1240, 980);
    w->move(0, 0);
    QTest::qWait(50);

    // Sort the plants by frequency.
    Key(w.get(), Qt::Key_T, Qt::AltModifier);
    KeyToPopup(Qt::Key_P);
    QTRY_VERIFY(w->ranges()->panel()->isVisible());
    Shot(QStringLiteral("sort_panel"));
    Click(w->ranges()->panel()->findChild<QSpinBox*>(QStringLiteral("lastSpecies")));
    Key(w->ranges()->panel(), Qt::Key_Return);
    QTRY_VERIFY(!w->ranges()->panel()->isVisible());
    for (int p = 2; p <= t.SpeciesCount(); ++p) QVERIFY(t.Text(3, t.FNRow() + p - 1) >= t.Text(3, t.FNRow() + p));
    Shot(QStringLiteral("sorted"));

    // Search: the edit menu's first item, a text and Enter.
    Pick(w.get(), Qt::Key_E, w->actions().search);
    QTRY_VERIFY(w->editing()->searchPanel()->isVisible());
    Type(w->editing()->searchPanel()->findChild<QComboBox*>(QStringLiteral("searchText"))->lineEdit(),
         QStringLiteral("ブナ"));
    Shot(QStringLiteral("search_panel"));
    QTest::keyClick(w->editing()->searchPanel()->findChild<QComboBox*>(QStringLiteral("searchText"))->lineEdit(),
                    Qt::Key_Return);
    QTRY_VERIFY(!w->editing()->searchPanel()->isVisible());
    QVERIFY(!w->grid()->searchHits().empty());
    // The count of hits shows beside the status panels, which stay in view.
    QCOMPARE(w->statusLine()->noteText(), QStringLiteral("「ブナ」：%1 か所").arg(w->grid()->searchHits().size()));
    for (int i = 1; i <= 4; ++i)
        QVERIFY(w->statusBar()->findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i))->isVisible());
    Shot(QStringLiteral("search_hits"));

    // Hide a range: the menu, a left drag over species 2..6 of relevés 2..5, 実行.
    auto* g = w->grid();
    auto* vp = g->viewport();
    const int fn = t.FNRow();
    g->scrollTo(4, fn + 1);
    QTest::qWait(20);
    Pick(w.get(), Qt::Key_T, w->actions().hideRanges);
    QTRY_VERIFY(w->workMessage()->isVisible());
    QVERIFY(w->actions().hideRanges->isChecked());
    Shot(QStringLiteral("hide_instruction"));
    Press(vp, Qt::LeftButton, g->cellRect(5, fn + 2).center());
    Move(vp, g->cellRect(6, fn + 4).center());
    Move(vp, g->cellRect(8, fn + 6).center());
    Release(vp, Qt::LeftButton, g->cellRect(8, fn + 6).center());
    QTRY_VERIFY(w->ranges()->panel()->isVisible());
    Shot(QStringLiteral("hide_panel"));
    Click(w->ranges()->panel()->findChild<QPushButton*>(QStringLiteral("applyRange")));
    QCOMPARE(t.RowHeight(fn + 4), -1);
    QCOMPARE(t.ColWidth(6), -1);
    Shot(QStringLiteral("hidden"));
    Pick(w.get(), Qt::Key_T, w->actions().hideRanges);
    QTRY_COMPARE(t.RowHeight(fn + 4), t.DefaultRowHeight());

    // A press on a site name shows it in full beside the pointer.
    const QPoint site = g->cellRect(6, 3).center();
    Press(vp, Qt::LeftButton, site);
    QTRY_VERIFY(w->gridPointer()->cellTextPanel()->isVisible());
    QCOMPARE(w->gridPointer()->cellTextPanel()->text(), Q(t.Text(6, 3)));
    Shot(QStringLiteral("long_cell"));
    Release(vp, Qt::LeftButton, site);
    QTRY_VERIFY(!w->gridPointer()->cellTextPanel()->isVisible());

    // A comment over species row 2, through its pop-up button.
    const QPoint row2 = g->cellRect(2, fn + 2).center();
    Press(vp, Qt::RightButton, row2);
    QTRY_VERIFY(w->gridPointer()->rowButtons()->isVisible());
    auto* remark = w->gridPointer()->rowButtons()->findChild<QWidget*>(QStringLiteral("commentButton"));
    const QPoint overRemark = vp->mapFrom(w.get(), remark->mapTo(w.get(), remark->rect().center()));
    Move(vp, overRemark);
    QString prompt;
    bool commented = false;
    OnModal([&](QWidget* d) {
        Shot(QStringLiteral("comment_prompt"));
        auto* in = qobject_cast<QInputDialog*>(d);
        prompt = in ? in->labelText() : QString();
        auto* edit = d->findChild<QLineEdit*>();
        Type(edit, QStringLiteral("── 林床の草本 ──"));
        QTest::keyClick(edit, Qt::Key_Return);
        commented = true;
    });
    const std::string second = t.SpeciesName(t.SpeciesKeyAt(2));
    Release(vp, Qt::RightButton, overRemark);
    QTRY_VERIFY(commented);
    QCOMPARE(prompt, Q(second));
    QTRY_COMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("── 林床の草本 ──"));

    // Delete species row 3 through its pop-up button, answering はい.
    const int relevesBefore = t.ReleveCount();
    const int speciesBefore = t.SpeciesCount();
    const std::string third = t.SpeciesName(t.SpeciesKeyAt(3));
    const QPoint rowCell = g->cellRect(2, fn + 3).center();
    Press(vp, Qt::RightButton, rowCell);
    QTRY_VERIFY(w->gridPointer()->rowButtons()->isVisible());
    auto* delRow = w->gridPointer()->rowButtons()->findChild<QWidget*>(QStringLiteral("deleteRowButton"));
    const QPoint overDel = vp->mapFrom(w.get(), delRow->mapTo(w.get(), delRow->rect().center()));
    Move(vp, overDel);
    Shot(QStringLiteral("row_buttons"));
    bool asked = false;
    OnModal([&](QWidget* d) {
        Shot(QStringLiteral("delete_row_question"));
        auto* box = qobject_cast<QMessageBox*>(d);
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("この行を削除しますか？\n種名：シノブカグマ"));
        QAbstractButton* yes = ButtonNamed(d, QStringLiteral("はい(&Y)"));
        QVERIFY(yes);
        Click(yes);
        asked = true;
    });
    Release(vp, Qt::RightButton, overDel);
    QTRY_VERIFY(asked);
    QTRY_COMPARE(t.SpeciesCount() < speciesBefore, true);
    QVERIFY(t.SpeciesName(t.SpeciesKeyAt(3)) != third);
    Shot(QStringLiteral("row_deleted"));

    // Insert a column left of relevé 2 through its pop-up button.
    const QPoint colHead = g->cellRect(5, 2).center();
    Press(vp, Qt::RightButton, colHead);
    QTRY_VERIFY(w->gridPointer()->columnButtons()->isVisible());
    auto* insCol = w->gridPointer()->columnButtons()->findChild<QWidget*>(QStringLiteral("insertColumnButton"));
    const QPoint overIns = vp->mapFrom(w.get(), insCol->mapTo(w.get(), insCol->rect().center()));
    Move(vp, overIns);
    Shot(QStringLiteral("column_buttons"));
    asked = false;
    OnModal([&](QWidget* d) {
        Shot(QStringLiteral("insert_column_question"));
        Click(ButtonNamed(d, QStringLiteral("はい(&Y)")));
        asked = true;
    });
    Release(vp, Qt::RightButton, overIns);
    QTRY_VERIFY(asked);
    const int relevesAfterDelete = t.ReleveCount();
    QVERIFY(relevesAfterDelete >= 1 && relevesAfterDelete <= relevesBefore + 1);
    QTRY_VERIFY(t.Text(5, fn).empty());  // the new column has no species
    Shot(QStringLiteral("column_inserted"));

    // A click on a cell of relevé 1, then 列を削除 from the edit menu, answered いいえ.
    Click(vp, Qt::LeftButton, g->cellRect(4, fn + 1).center());
    QCOMPARE(g->currentColumn(), 4);
    const int relevesNow = t.ReleveCount();
    asked = false;
    OnModal([&](QWidget* d) {
        Click(ButtonNamed(d, QStringLiteral("いいえ(&N)")));
        asked = true;
    });
    Pick(w.get(), Qt::Key_E, w->actions().deleteColumn);
    QTRY_VERIFY(asked);
    QCOMPARE(t.ReleveCount(), relevesNow);

    // Save through the save dialog.
    const QString saved = dir.filePath(QStringLiteral("山地の森林.vtb"));
    bool savedOk = false;
    OnModal([&](QWidget* d) {
        Shot(QStringLiteral("save_dialog"));
        auto* fd = qobject_cast<QFileDialog*>(d);
        QVERIFY(fd);
        auto* edit = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        QCOMPARE(edit->text(), QStringLiteral("山地の森林.vtb"));
        QTest::keyClick(edit, Qt::Key_Return);
        savedOk = true;
    });
    Key(w.get(), Qt::Key_F, Qt::AltModifier);
    KeyToPopup(Qt::Key_S);
    QTRY_VERIFY(savedOk);
    QTRY_VERIFY(QFile::exists(saved));
    QVERIFY(w->statusLine()->noteText().startsWith(QStringLiteral("保存しました：")));
    QVERIFY(w->statusBar()->findChild<QLabel*>(QStringLiteral("statusPanel1"))->isVisible());
    Shot(QStringLiteral("saved"));
    const int savedReleves = t.ReleveCount();
    const int savedSpecies = t.SpeciesCount();

    // Quit from the menu: the settings file is written, the window closes.
    Key(w.get(), Qt::Key_F, Qt::AltModifier);
    KeyToPopup(Qt::Key_Q);
    QTRY_VERIFY(!w->isVisible());
    QFile iniFile(ini);
    QVERIFY(iniFile.open(QIODevice::ReadOnly));
    // The window's size at quit went into the settings.
    QVERIFY(iniFile.readAll().contains("Width=1240"));
    w.reset();

    // Start again on the saved table.
    auto w2 = std::make_unique<MainWindow>();
    w2->start({saved}, dir.filePath(QStringLiteral("tavik")));
    w2->show();
    QVERIFY(QTest::qWaitForWindowExposed(w2.get()));
    QTRY_VERIFY(!w2->startTablePending());
    QCOMPARE(w2->workspace().table.ReleveCount(), savedReleves);
    QCOMPARE(w2->workspace().table.SpeciesCount(), savedSpecies);
    QVERIFY(w2->windowTitle().endsWith(QStringLiteral("    山地の森林")));
    Shot(QStringLiteral("started_again"));
    w2.reset();
    QDir::setCurrent(before);
}

QTEST_MAIN(TestUserRoad)
#include "test_user_road.moc"
