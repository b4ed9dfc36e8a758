// The main menu: every command with its caption, separators, hints and checkability.
#include "ui/main_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
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
    // Captions and hints are source texts of the context "MainMenu", shown translated.
    QAction* Add(const char* name, const char* caption, const char* hint = nullptr) {
        auto* a = new QAction(caption ? QCoreApplication::translate("MainMenu", caption) : QString(), owner);
        a->setObjectName(QString::fromLatin1(name));
        if (hint) {
            a->setStatusTip(QCoreApplication::translate("MainMenu", hint));
            a->setToolTip(QCoreApplication::translate("MainMenu", hint));
        }
        menu->addAction(a);
        return a;
    }
    QMenu* Sub(const char* name, const char* caption) {
        QMenu* m = menu->addMenu(QCoreApplication::translate("MainMenu", caption));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    }
};

void BuildFileMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // File.
    Builder f{owner, bar->addMenu(QCoreApplication::translate("MainMenu", "ファイル(&F)"))};
    m.newTable = f.Add("newTable", QT_TRANSLATE_NOOP("MainMenu", "組成表を初期化する(&N)"),
                       QT_TRANSLATE_NOOP("MainMenu", "表を白紙化して新しい組成表を作る"));
    m.addReleves = f.Add("addReleves", QT_TRANSLATE_NOOP("MainMenu", "表にデータを加える(&A)"),
                         QT_TRANSLATE_NOOP("MainMenu", "組成表にデータを加える"));
    m.loadTable = f.Add("loadTable", QT_TRANSLATE_NOOP("MainMenu", "保存した表を読込む(&L)"),
                        QT_TRANSLATE_NOOP("MainMenu", "保存した組成表を読込む"));
    m.chooseDataFile = f.Add("chooseDataFile", QT_TRANSLATE_NOOP("MainMenu", "データファイルの指定(&F)"));
    f.menu->addSeparator();
    m.saveTable = f.Add("saveTable", QT_TRANSLATE_NOOP("MainMenu", "現在の表を保存する(&S)"),
                        QT_TRANSLATE_NOOP("MainMenu", "現在の組成表を保存する"));
    {
        Builder o{owner, f.Sub("outputTable", QT_TRANSLATE_NOOP("MainMenu", "組成表として出力"))};
        m.outputTable = o.menu->menuAction();
        m.textFile = o.Add("textFile", QT_TRANSLATE_NOOP("MainMenu", "表をテキスト出力(&F)"),
                           QT_TRANSLATE_NOOP("MainMenu", "表をﾃｷｽﾄファイルとして出力する"));
        m.excelFile = o.Add("excelFile", QT_TRANSLATE_NOOP("MainMenu", "エクセル形式出力(&X)"));
        m.printTable = o.Add("printTable", QT_TRANSLATE_NOOP("MainMenu", "組成表を直接印刷(&P)"),
                             QT_TRANSLATE_NOOP("MainMenu", "現在の表を印刷する"));
        m.printBrief = o.Add("printBrief", QT_TRANSLATE_NOOP("MainMenu", "表を省略簡易印刷(&K)"));
    }
    m.printSetup = f.Add("printSetup", QT_TRANSLATE_NOOP("MainMenu", "プリンターの設定(&T)"),
                         QT_TRANSLATE_NOOP("MainMenu", "プリンタの設定を変更する"));
    f.menu->addSeparator();
    m.valueMatrix = f.Add("valueMatrix", QT_TRANSLATE_NOOP("MainMenu", "数値表として出力する(&V)"));
    m.pcordCsv = f.Add("pcordCsv", QT_TRANSLATE_NOOP("MainMenu", "PCord 用のCSV型出力(&C)"));
    {
        Builder s{owner, f.Sub("siteData", QT_TRANSLATE_NOOP("MainMenu", "分布データ等を出力(&D)"))};
        m.siteData = s.menu->menuAction();
        m.plotData = s.Add("plotData", QT_TRANSLATE_NOOP("MainMenu", "立地環境データ"));
        m.gpsPot = s.Add("gpsPot", QT_TRANSLATE_NOOP("MainMenu", "GPS　POTデータ"));
        m.meshData = s.Add("meshData", QT_TRANSLATE_NOOP("MainMenu", "メッシュ分布データ"));
    }
    f.menu->addSeparator();
    m.quit = f.Add("quit", QT_TRANSLATE_NOOP("MainMenu", "終　　　　了(&Q)"),
                   QT_TRANSLATE_NOOP("MainMenu", "プログラムを終了する"));
}

void BuildToolsMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // Table tools.
    Builder t{owner, bar->addMenu(QCoreApplication::translate("MainMenu", "表ツール(&T)"))};
    m.recount = t.Add("recount", QT_TRANSLATE_NOOP("MainMenu", "出現頻度を再計算する(&F)"));
    t.menu->addSeparator();
    m.sortSpecies = t.Add("sortSpecies", QT_TRANSLATE_NOOP("MainMenu", "植物を頻度順で並び替え(&P)"));
    m.sortReleves = t.Add("sortReleves", QT_TRANSLATE_NOOP("MainMenu", "測定を種数順で並び替え(&O)"));
    t.menu->addSeparator();
    m.reciprocalAveraging = t.Add("reciprocalAveraging", QT_TRANSLATE_NOOP("MainMenu", "反復平均法で行列並び替え(&H)"));
    t.menu->addSeparator();
    m.hideSiteRows = t.Add("hideSiteRows", QT_TRANSLATE_NOOP("MainMenu", "立地情報を隠す"));
    m.hideSiteRows->setCheckable(true);
    m.hideRanges = t.Add("hideRanges", QT_TRANSLATE_NOOP("MainMenu", "行・列を部分的に隠す"));
    m.hideRanges->setCheckable(true);
    t.menu->addSeparator();
    m.makeConstancyTable = t.Add("makeConstancyTable", QT_TRANSLATE_NOOP("MainMenu", "常在度表を作成する"));
    m.showConstancyTable = t.Add("showConstancyTable", QT_TRANSLATE_NOOP("MainMenu", "常在度表を再表示する"));
    m.sortByDiagnosticBlocks =
        t.Add("sortByDiagnosticBlocks", QT_TRANSLATE_NOOP("MainMenu", "診断種の順に組成表を並べ替える"),
              QT_TRANSLATE_NOOP("MainMenu", "植物の行を区分ごとの診断種のまとまりに並べ替える"));
    t.menu->addSeparator();
    m.classify = t.Add("classify", QT_TRANSLATE_NOOP("MainMenu", "クラスター分析で群に分ける"),
                       QT_TRANSLATE_NOOP("MainMenu", "測定を階層的クラスター分析で群に分け、群の間に空白列を入れる"));
    m.readGroups = t.Add("readGroups", QT_TRANSLATE_NOOP("MainMenu", "群を読み込む"),
                         QT_TRANSLATE_NOOP("MainMenu", "測定番号と群を書いたCSVファイルの通りに測定を並べ替える"));
    m.writeGroups = t.Add("writeGroups", QT_TRANSLATE_NOOP("MainMenu", "群を書き出す"),
                          QT_TRANSLATE_NOOP("MainMenu", "空白列で区切られた今の群をCSVファイルに書き出す"));
    t.menu->addSeparator();
}

void BuildEditMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // Edit and search.
    Builder e{owner, bar->addMenu(QCoreApplication::translate("MainMenu", "編集・検索(&E)"))};
    // Their captions name the step they take back or do again (ui/table_history.h).
    m.undo = e.Add("undo", nullptr);
    m.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.redo = e.Add("redo", nullptr);
    m.redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {m.undo, m.redo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        a->setEnabled(false);
    }
    e.menu->addSeparator();
    m.search = e.Add("search", QT_TRANSLATE_NOOP("MainMenu", "表内を検索する"));
    m.resetSearch = e.Add("resetSearch", QT_TRANSLATE_NOOP("MainMenu", "検索状態の解除"));
    e.menu->addSeparator();
    m.deleteRow = e.Add("deleteRow", QT_TRANSLATE_NOOP("MainMenu", "この行を削除する"));
    m.deleteColumn = e.Add("deleteColumn", QT_TRANSLATE_NOOP("MainMenu", "この列を削除する"));
    e.menu->addSeparator();
    m.insertRow = e.Add("insertRow", QT_TRANSLATE_NOOP("MainMenu", "この上に行を挿入"));
    m.writeComment = e.Add("writeComment", QT_TRANSLATE_NOOP("MainMenu", "コメントを書込む"));
    m.insertColumn = e.Add("insertColumn", QT_TRANSLATE_NOOP("MainMenu", "この左に列を挿入"));
    e.menu->addSeparator();
    m.editTitle = e.Add("editTitle", QT_TRANSLATE_NOOP("MainMenu", "組成表の標題を編集"));
}

void BuildSettingsMenu(QMenuBar* bar, QObject* owner, MenuActions& m) {
    // Settings.
    Builder c{owner, bar->addMenu(QCoreApplication::translate("MainMenu", "設定変更(&C)"))};
    m.useEmbeddedItems = c.Add("useEmbeddedItems", QT_TRANSLATE_NOOP("MainMenu", "データ埋込項目を使う"));
    m.useEmbeddedItems->setCheckable(true);
    m.readSettings = c.Add("readSettings", QT_TRANSLATE_NOOP("MainMenu", "設定ファイル読込み(&I)"));
    m.readDictionary = c.Add("readDictionary", QT_TRANSLATE_NOOP("MainMenu", "異名辞書の読込み(&D)"));
    c.menu->addSeparator();
    m.changeItems = c.Add("changeItems", QT_TRANSLATE_NOOP("MainMenu", "表組み項目の変更(&M)"));
    m.tableFont = c.Add("tableFont", QT_TRANSLATE_NOOP("MainMenu", "表のフォント変更(&F)"));

    // The interface language; its names are the same in either language.
    c.menu->addSeparator();
    m.languageMenu = c.menu->addMenu(QStringLiteral("Language / 言語"));  // the same in every language
    m.languageMenu->menuAction()->setObjectName(QStringLiteral("languageMenu"));
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
    Builder h{owner, bar->addMenu(QCoreApplication::translate("MainMenu", "ヘルプ(&H)"))};
    m.dataCheck = h.Add("dataCheck", QT_TRANSLATE_NOOP("MainMenu", "データ検査する"));
    m.manual = h.Add("manual", QT_TRANSLATE_NOOP("MainMenu", "使用法　　(&H)"),
                     QT_TRANSLATE_NOOP("MainMenu", "使用説明書を開く"));
    m.version = h.Add("version", QT_TRANSLATE_NOOP("MainMenu", "ﾊﾞｰｼﾞｮﾝ情報(&A)"),
                      QT_TRANSLATE_NOOP("MainMenu", "バージョン情報を示す"));
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
