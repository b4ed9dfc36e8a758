// The main menu: every command with its caption, separators, hints and checkability.
#include "ui/main_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <utility>

#include "ui/menu_actions.h"

namespace tavik::ui {

namespace {
struct Builder {
    QObject* owner;
    QMenu* menu;
    QAction* Add(const char* name, const QString& caption, const QString& hint = {}) {
        auto* a = new QAction(caption, owner);
        a->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) {
            a->setStatusTip(hint);
            a->setToolTip(hint);
        }
        menu->addAction(a);
        return a;
    }
    QMenu* Sub(const char* name, const QString& caption, const QString& hint = {}) {
        QMenu* m = menu->addMenu(caption);
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) m->menuAction()->setStatusTip(hint);
        return m;
    }
};

void BuildFileMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // File.
    Builder f{owner, bar->addMenu(QStringLiteral("ファイル(&F)"))};
    m.newTable =
        f.Add("newTable", QStringLiteral("組成表を初期化する(&N)"), QStringLiteral("表を白紙化して新しい組成表を作る"));
    m.addReleves =
        f.Add("addReleves", QStringLiteral("表にデータを加える(&A)"), QStringLiteral("組成表にデータを加える"));
    m.loadTable =
        f.Add("loadTable", QStringLiteral("保存した表を読込む(&L)"), QStringLiteral("保存した組成表を読込む"));
    m.chooseDataFile = f.Add("chooseDataFile", QStringLiteral("データファイルの指定(&F)"));
    f.menu->addSeparator();
    m.saveTable =
        f.Add("saveTable", QStringLiteral("現在の表を保存する(&S)"), QStringLiteral("現在の組成表を保存する"));
    {
        Builder o{owner, f.Sub("outputTable", QStringLiteral("組成表として出力"))};
        m.outputTable = o.menu->menuAction();
        m.textFile =
            o.Add("textFile", QStringLiteral("表をテキスト出力(&F)"), QStringLiteral("表をﾃｷｽﾄファイルとして出力する"));
        m.excelFile = o.Add("excelFile", QStringLiteral("エクセル形式出力(&X)"));
        m.printTable =
            o.Add("printTable", QStringLiteral("組成表を直接印刷(&P)"), QStringLiteral("現在の表を印刷する"));
        m.printBrief = o.Add("printBrief", QStringLiteral("表を省略簡易印刷(&K)"));
    }
    m.printSetup =
        f.Add("printSetup", QStringLiteral("プリンターの設定(&T)"), QStringLiteral("プリンタの設定を変更する"));
    f.menu->addSeparator();
    m.valueMatrix = f.Add("valueMatrix", QStringLiteral("数値表として出力する(&V)"));
    m.pcordCsv = f.Add("pcordCsv", QStringLiteral("PCord 用のCSV型出力(&C)"));
    {
        Builder s{owner, f.Sub("siteData", QStringLiteral("分布データ等を出力(&D)"))};
        m.siteData = s.menu->menuAction();
        m.plotData = s.Add("plotData", QStringLiteral("立地環境データ"));
        m.gpsPot = s.Add("gpsPot", QStringLiteral("GPS　POTデータ"));
        m.meshData = s.Add("meshData", QStringLiteral("メッシュ分布データ"));
    }
    f.menu->addSeparator();
    m.quit = f.Add("quit", QStringLiteral("終　　　　了(&Q)"), QStringLiteral("プログラムを終了する"));
}

void BuildToolsMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // Table tools.
    Builder t{owner, bar->addMenu(QStringLiteral("表ツール(&T)"))};
    m.recount = t.Add("recount", QStringLiteral("出現頻度を再計算する(&F)"));
    t.menu->addSeparator();
    m.sortSpecies = t.Add("sortSpecies", QStringLiteral("植物を頻度順で並び替え(&P)"));
    m.sortReleves = t.Add("sortReleves", QStringLiteral("測定を種数順で並び替え(&O)"));
    t.menu->addSeparator();
    m.reciprocalAveraging = t.Add("reciprocalAveraging", QStringLiteral("反復平均法で行列並び替え(&H)"));
    t.menu->addSeparator();
    m.hideSiteRows = t.Add("hideSiteRows", QStringLiteral("立地情報を隠す"));
    m.hideSiteRows->setCheckable(true);
    m.hideRanges = t.Add("hideRanges", QStringLiteral("行・列を部分的に隠す"));
    m.hideRanges->setCheckable(true);
    t.menu->addSeparator();
    m.makeConstancyTable = t.Add("makeConstancyTable", QStringLiteral("常在度表を作成する"));
    m.showConstancyTable = t.Add("showConstancyTable", QStringLiteral("常在度表を再表示する"));
    m.sortByDiagnosticBlocks = t.Add("sortByDiagnosticBlocks", QStringLiteral("診断種の順に組成表を並べ替える"),
                                     QStringLiteral("植物の行を区分ごとの診断種のまとまりに並べ替える"));
    t.menu->addSeparator();
    m.classify = t.Add("classify", QStringLiteral("クラスター分析で群に分ける"),
                       QStringLiteral("測定を階層的クラスター分析で群に分け、群の間に空白列を入れる"));
    m.readGroups = t.Add("readGroups", QStringLiteral("群を読み込む"),
                         QStringLiteral("測定番号と群を書いたCSVファイルの通りに測定を並べ替える"));
    m.writeGroups = t.Add("writeGroups", QStringLiteral("群を書き出す"),
                          QStringLiteral("空白列で区切られた今の群をCSVファイルに書き出す"));
    t.menu->addSeparator();
}

void BuildEditMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // Edit and search.
    Builder e{owner, bar->addMenu(QStringLiteral("編集・検索(&E)"))};
    // Their captions name the step they take back or do again (ui/table_history.h).
    m.undo = e.Add("undo", QString());
    m.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.redo = e.Add("redo", QString());
    m.redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {m.undo, m.redo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        a->setEnabled(false);
    }
    e.menu->addSeparator();
    m.search = e.Add("search", QStringLiteral("表内を検索する"));
    m.resetSearch = e.Add("resetSearch", QStringLiteral("検索状態の解除"));
    e.menu->addSeparator();
    m.deleteRow = e.Add("deleteRow", QStringLiteral("この行を削除する"));
    m.deleteColumn = e.Add("deleteColumn", QStringLiteral("この列を削除する"));
    e.menu->addSeparator();
    m.insertRow = e.Add("insertRow", QStringLiteral("この上に行を挿入"));
    m.writeComment = e.Add("writeComment", QStringLiteral("コメントを書込む"));
    m.insertColumn = e.Add("insertColumn", QStringLiteral("この左に列を挿入"));
    e.menu->addSeparator();
    m.editTitle = e.Add("editTitle", QStringLiteral("組成表の標題を編集"));
}

void BuildSettingsMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // Settings.
    Builder c{owner, bar->addMenu(QStringLiteral("設定変更(&C)"))};
    m.useEmbeddedItems = c.Add("useEmbeddedItems", QStringLiteral("データ埋込項目を使う"));
    m.useEmbeddedItems->setCheckable(true);
    m.readSettings = c.Add("readSettings", QStringLiteral("設定ファイル読込み(&I)"));
    m.readDictionary = c.Add("readDictionary", QStringLiteral("異名辞書の読込み(&D)"));
    c.menu->addSeparator();
    m.changeItems = c.Add("changeItems", QStringLiteral("表組み項目の変更(&M)"));
    m.tableFont = c.Add("tableFont", QStringLiteral("表のフォント変更(&F)"));

    // The interface language; its names are the same in either language.
    c.menu->addSeparator();
    m.languageMenu = c.Sub("languageMenu", QStringLiteral("Language / 言語"));  // the same in every language
    m.languages = new QActionGroup(m.languageMenu);
    const std::pair<const char*, QString> choices[] = {
        {"ja", QStringLiteral("日本語")},  // the same in every language
        {"en", QStringLiteral("English")},
        {"system", QStringLiteral("システムに従う / Follow the system")},  // the same in every language
    };
    for (const auto& [code, caption] : choices) {
        QAction* a = m.languageMenu->addAction(caption);
        a->setObjectName(QStringLiteral("language_") + QLatin1String(code));
        a->setData(QString::fromLatin1(code));
        a->setCheckable(true);
        m.languages->addAction(a);
    }
}

void BuildHelpMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // Help.
    Builder h{owner, bar->addMenu(QStringLiteral("ヘルプ(&H)"))};
    m.dataCheck = h.Add("dataCheck", QStringLiteral("データ検査する"));
    m.manual = h.Add("manual", QStringLiteral("使用法　　(&H)"), QStringLiteral("使用説明書を開く"));
    m.version = h.Add("version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), QStringLiteral("バージョン情報を示す"));
}

}  // namespace

MenuActions BuildMainMenu(QMenuBar* bar, QObject* owner) {
    MenuActions m;
    BuildFileMenu(bar, owner, m);
    BuildToolsMenu(bar, owner, m);
    BuildEditMenu(bar, owner, m);
    BuildSettingsMenu(bar, owner, m);
    BuildHelpMenu(bar, owner, m);
    return m;
}

}  // namespace tavik::ui
