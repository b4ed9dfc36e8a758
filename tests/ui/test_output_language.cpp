// The output panel and its controller in each language: the captions, the names the library
// gives the outputs and the matrices' choices, and the controller's questions follow the
// interface's language, and the English panel is not cut off by the window.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include "output/options.h"
#include "ui/analysis_controller.h"
#include "ui/application.h"
#include "ui/classification_controller.h"
#include "ui/classification_panel.h"
#include "ui/constancy_panel.h"
#include "ui/editing_controller.h"
#include "ui/output_panel.h"
#include "ui/panels.h"
#include "ui/range_controller.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"
#include "window_fixture.h"

using tavik::Language;
using tavik::OutputMode;
using tavik::ui::OutputPanel;
using namespace tavik::testing;

namespace {

template <typename T>
T* PanelChild(const OutputPanel* panel, const char* name) {
    auto* child = panel->findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no %s in the output panel", name);
    return child;
}

// The Japanese script: kana, kanji and full-width forms.
const QRegularExpression kJapanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

}  // namespace

class TestOutputLanguage : public QObject {
    Q_OBJECT
private slots:
    void panelCaptionsFollowTheLanguage();
    void libraryNamesHaveAnEnglishTranslation();
    void questionInTheInterfaceLanguage();
    void englishPanelFitsTheWindow();
    void otherPanelsHaveNoJapaneseCaption();
    void cleanup() { tavik::ui::SetUpApplication(*qApp, Language::Japanese); }
};

void TestOutputLanguage::panelCaptionsFollowTheLanguage() {
    struct Expected {
        const char* name;
        QString japanese, english;
    };
    for (const bool english : {true, false}) {
        tavik::ui::SetUpApplication(*qApp, english ? Language::English : Language::Japanese);
        QTemporaryDir tmp;
        auto s = StartWindow(tmp.path());
        SmallTable(*s.w);
        // The panel is made with the window: its captions are those of the start's language.
        const OutputPanel* panel = s.w->output()->panel();
        s.w->output()->showValueMatrixOutput();
        QVERIFY(panel->isVisible());
        const auto text = [&](const Expected& e) {
            const QObject* child = panel->findChild<QObject*>(QLatin1String(e.name));
            if (!child) return QStringLiteral("(no %1)").arg(QLatin1String(e.name));
            if (auto* l = qobject_cast<const QLabel*>(child)) return l->text();
            if (auto* b = qobject_cast<const QAbstractButton*>(child)) return b->text();
            if (auto* g = qobject_cast<const QGroupBox*>(child)) return g->title();
            return QString();
        };
        const Expected matrix[] = {
            {"outputHeading", QStringLiteral("数値表をCSV形式で出力"), QStringLiteral("Numeric matrix as CSV")},
            {"directionBox", QStringLiteral("出力方向"), QStringLiteral("Direction")},
            {"direction0", QStringLiteral("行 ＝ 植物"), QStringLiteral("Rows = species")},
            {"direction1", QStringLiteral("行 ＝ 測定"), QStringLiteral("Rows = relevés")},
            {"methodBox", QStringLiteral("優占度変換"), QStringLiteral("Cover transformation")},
            {"method6", QStringLiteral("有無のみ （1,0）"), QStringLiteral("Presence only (1,0)")},
            {"titleCaption", QStringLiteral("表題"), QStringLiteral("Title")},
            {"frequencyBox", QStringLiteral("出現頻度"), QStringLiteral("Frequency")},
            {"onceSpeciesBox", QStringLiteral("出現１回の種"), QStringLiteral("Species occurring once")},
            {"matrixNote", QStringLiteral("数値表出力では空白の列・行は無視される"),
             QStringLiteral("Blank rows and columns are left out of matrices")},
            {"runOutput", QStringLiteral("出力する"), QStringLiteral("Output")},
            {"cancelOutput", QStringLiteral("取止める"), QStringLiteral("Cancel")},
        };
        for (const Expected& e : matrix) QCOMPARE(text(e), english ? e.english : e.japanese);
        const QString species = english ? QStringLiteral("Species range") : QStringLiteral("植物の出力範囲");
        const QString releves = english ? QStringLiteral("Relevé range") : QStringLiteral("測定の出力範囲");
        QStringList labels;
        for (const QLabel* l : panel->findChildren<QLabel*>()) labels << l->text();
        QVERIFY2(labels.contains(species) && labels.contains(releves), qPrintable(labels.join(u'|')));
        // The header items are the table's own names, the same in both languages.
        QCOMPARE(panel->itemBox(1)->text(), tavik::ui::Q(s.w->workspace().table.ItemBoxes[1].caption));

        // Each opening names its output; printing shows the font's caption and button.
        s.w->output()->cancelOutput();
        s.w->output()->showPrintOutput();
        QCOMPARE(text({"outputHeading", QStringLiteral("組成表を印刷出力、項目選択と表題修正"),
                       QStringLiteral("Print the table: choose the items, edit the title")}),
                 english ? QStringLiteral("Print the table: choose the items, edit the title")
                         : QStringLiteral("組成表を印刷出力、項目選択と表題修正"));
        QCOMPARE(text({"changeOutputFont", {}, {}}), english ? QStringLiteral("Change") : QStringLiteral("変更"));
        s.w->output()->cancelOutput();

        // The configuration of the header items reuses the panel with captions of its own.
        s.dialogs->answers << true;
        s.w->output()->changeHeaderItems();
        QCOMPARE(text({"runOutput", {}, {}}), english ? QStringLiteral("Set") : QStringLiteral("設定する"));
        QCOMPARE(text({"editItemCaption", {}, {}}), english ? QStringLiteral("Rename") : QStringLiteral("修正"));
        QCOMPARE(text({"titleCaption", {}, {}}), english ? QStringLiteral("Item name") : QStringLiteral("項目名"));
        QCOMPARE(text({"outputHeading", {}, {}}),
                 english ? QStringLiteral("Left click to use an item, right click to rename it")
                         : QStringLiteral("項目組込は左、名称修正は右クリック"));
        s.w->output()->cancelOutput();
    }
}

void TestOutputLanguage::libraryNamesHaveAnEnglishTranslation() {
    // The panel translates the library's Japanese names: one renamed there and not in the
    // panel's list would show in Japanese in the English window.
    tavik::ui::SetUpApplication(*qApp, Language::English);
    QStringList names;
    for (const OutputMode m : {OutputMode::Text, OutputMode::Spreadsheet, OutputMode::Print, OutputMode::SimplePrint,
                               OutputMode::ValueMatrix, OutputMode::PCordMatrix, OutputMode::ItemConfiguration})
        names << QString::fromUtf8(tavik::OutputModeHeading(m));
    for (const char* c : tavik::ConversionMethodCaptions()) names << QString::fromUtf8(c);
    for (const char* c : tavik::DirectionCaptions()) names << QString::fromUtf8(c);
    for (const QString& name : names) {
        const QString english = QCoreApplication::translate("OutputPanel", name.toUtf8().constData());
        QVERIFY2(!english.isEmpty() && !english.contains(kJapanese),
                 qPrintable(name + QStringLiteral(" → ") + english));
    }
}

void TestOutputLanguage::questionInTheInterfaceLanguage() {
    for (const bool english : {true, false}) {
        tavik::ui::SetUpApplication(*qApp, english ? Language::English : Language::Japanese);
        QTemporaryDir tmp;
        auto s = StartWindow(tmp.path());
        SmallTable(*s.w);
        s.dialogs->answers << false;
        s.w->output()->changeHeaderItems();
        QCOMPARE(s.dialogs->questions, QStringList{english ? QStringLiteral("The table will be cleared. Continue?")
                                                           : QStringLiteral("表が初期化されます、続けますか？")});
        QCOMPARE(s.w->workspace().table.ReleveCount(), 3);
    }
}

void TestOutputLanguage::englishPanelFitsTheWindow() {
    // English captions are longer: at the default size and at 1024 × 768 every output's panel
    // still gets the room its layout asks for, so no caption is cut.
    tavik::ui::SetUpApplication(*qApp, Language::English);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    SmallTable(*s.w);
    OutputPanel* panel = s.w->output()->panel();
    for (const QSize size : {QSize(724, 538), QSize(1024, 768)}) {
        s.w->resize(size);
        QTest::qWait(50);
        using Show = void (tavik::ui::OutputController::*)();
        for (const Show show :
             {&tavik::ui::OutputController::showTextOutput, &tavik::ui::OutputController::showPrintOutput,
              &tavik::ui::OutputController::showValueMatrixOutput}) {
            (s.w->output()->*show)();
            QVERIFY(panel->isVisible());
            QVERIFY2(panel->width() >= panel->minimumSizeHint().width() &&
                         panel->geometry().right() < panel->parentWidget()->width(),
                     qPrintable(QStringLiteral("%1×%2: panel %3 wide, needs %4, parent %5")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(panel->width())
                                    .arg(panel->minimumSizeHint().width())
                                    .arg(panel->parentWidget()->width())));
            // The count of species occurring once comes after the panel is placed: the title
            // field still makes room for it instead of lying over the boxes beside it.
            QCoreApplication::processEvents();
            const QRect title = panel->findChild<QWidget*>(QStringLiteral("outputTitle"))->geometry();
            const QRect frequency = panel->findChild<QWidget*>(QStringLiteral("frequencyBox"))->geometry();
            QVERIFY2(title.right() < frequency.left(), qPrintable(QStringLiteral("%1×%2: title field to %3, "
                                                                                 "frequency box from %4")
                                                                      .arg(size.width())
                                                                      .arg(size.height())
                                                                      .arg(title.right())
                                                                      .arg(frequency.left())));
            s.w->output()->cancelOutput();
        }
    }
}

void TestOutputLanguage::otherPanelsHaveNoJapaneseCaption() {
    // Every caption, button, box title and choice of the window's other panels is English in
    // the English interface. The data file's name is the user's, not a caption.
    tavik::ui::SetUpApplication(*qApp, Language::English);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    SmallTable(*s.w);
    tavik::ui::MainWindow& w = *s.w;
    w.retrieval()->showRetrievalPanel();
    w.analysis()->showConstancyPanel();
    w.classification()->openPanel();
    w.editing()->showSearchPanel();
    const QList<QWidget*> panels = {w.retrieval()->panel(), w.analysis()->constancyPanel(), w.classification()->panel(),
                                    w.editing()->searchPanel(), w.ranges()->panel()};
    QStringList japanese;
    for (QWidget* panel : panels) {
        QStringList texts;
        for (const QLabel* l : panel->findChildren<QLabel*>())
            if (l->objectName() != QLatin1String("dataFileName")) texts << l->text() << l->toolTip();
        for (const QAbstractButton* b : panel->findChildren<QAbstractButton*>()) texts << b->text() << b->toolTip();
        for (const QGroupBox* g : panel->findChildren<QGroupBox*>()) texts << g->title();
        for (const QComboBox* c : panel->findChildren<QComboBox*>())
            for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
        for (const QString& t : texts)
            if (t.contains(kJapanese)) japanese << panel->objectName() + QStringLiteral(": ") + t;
    }
    QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(u'\n')));
    // The constancy panel proposes the table's title with the output's English name.
    const auto* title = w.analysis()->constancyPanel()->findChild<QLineEdit*>(QStringLiteral("constancyTitle"));
    QVERIFY(title);
    QVERIFY2(title->text().endsWith(QStringLiteral("constancy table"), Qt::CaseInsensitive), qPrintable(title->text()));
}

QTEST_MAIN(TestOutputLanguage)
#include "test_output_language.moc"
