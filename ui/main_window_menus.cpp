// The main menu: every command with its caption, separators, hints and enabling.
#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include <cctype>
#include <string>
#include <utility>

#include "formats/language_setting.h"
#include "formats/workspace.h"
#include "ui/editing_controller.h"
#include "ui/main_window.h"
#include "ui/output_controller.h"
#include "ui/retrieval_controller.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

namespace {
struct Builder {
    MainWindow* w;
    QMenu* menu;
    QAction* Add(const char* name, const QString& caption, const QString& hint = {}) {
        auto* a = new QAction(caption, w);
        a->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) {
            a->setStatusTip(hint);
            a->setToolTip(hint);
        }
        menu->addAction(a);
        return a;
    }
    // A command that runs `slot` of the window.
    QAction* Add(const char* name, const QString& caption, void (MainWindow::*slot)(),
                 const QString& hint = {}) {
        return Add(name, caption, w, slot, hint);
    }
    // A command that runs `slot` of one of the window's controllers.
    template <class Receiver>
    QAction* Add(const char* name, const QString& caption, Receiver* r, void (Receiver::*slot)(),
                 const QString& hint = {}) {
        QAction* a = Add(name, caption, hint);
        QObject::connect(a, &QAction::triggered, r, slot);
        return a;
    }
    QMenu* Sub(const char* name, const QString& caption, const QString& hint = {}) {
        QMenu* m = menu->addMenu(caption);
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) m->menuAction()->setStatusTip(hint);
        return m;
    }
};
}  // namespace

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mainMenu"));
    buildFileMenu(bar);
    buildToolsMenu(bar);
    buildEditMenu(bar);
    buildSettingsMenu(bar);
    buildHelpMenu(bar);

    // Checked items report through triggered; their ticks follow the window's state.
    const MenuActions& m = actions_;
    for (QAction* a : {m.hideSiteRows, m.hideRanges, m.useEmbeddedItems})
        connect(a, &QAction::triggered, this, [this] { updateTicks(); });
}

void MainWindow::buildFileMenu(QMenuBar* bar) {
    MenuActions& m = actions_;
    // File.
    Builder f{this, bar->addMenu(QStringLiteral("ファイル(&F)"))};
    m.newTable = f.Add("newTable", QStringLiteral("組成表を初期化する(&N)"), &MainWindow::clearTable,
                       QStringLiteral("表を白紙化して新しい組成表を作る"));
    m.addReleves = f.Add("addReleves", QStringLiteral("表にデータを加える(&A)"), retrieval_, &RetrievalController::showRetrievalPanel,
                         QStringLiteral("組成表にデータを加える"));
    m.loadTable = f.Add("loadTable", QStringLiteral("保存した表を読込む(&L)"), &MainWindow::openTable,
                        QStringLiteral("保存した組成表を読込む"));
    m.chooseDataFile = f.Add("chooseDataFile", QStringLiteral("データファイルの指定(&F)"), &MainWindow::chooseDataFile);
    f.menu->addSeparator();
    m.saveTable = f.Add("saveTable", QStringLiteral("現在の表を保存する(&S)"), &MainWindow::saveTable,
                        QStringLiteral("現在の組成表を保存する"));
    {
        Builder o{this, f.Sub("outputTable", QStringLiteral("組成表として出力"))};
        m.outputTable = o.menu->menuAction();
        m.textFile = o.Add("textFile", QStringLiteral("表をテキスト出力(&F)"), output_, &OutputController::showTextOutput,
                           QStringLiteral("表をﾃｷｽﾄファイルとして出力する"));
        m.excelFile = o.Add("excelFile", QStringLiteral("エクセル形式出力(&X)"), output_, &OutputController::showSpreadsheetOutput);
        m.printTable = o.Add("printTable", QStringLiteral("組成表を直接印刷(&P)"), output_, &OutputController::showPrintOutput,
                             QStringLiteral("現在の表を印刷する"));
        m.printBrief = o.Add("printBrief", QStringLiteral("表を省略簡易印刷(&K)"), output_, &OutputController::showSimplePrintOutput);
    }
    m.printSetup = f.Add("printSetup", QStringLiteral("プリンターの設定(&T)"), output_, &OutputController::setUpPrinter,
                         QStringLiteral("プリンタの設定を変更する"));
    f.menu->addSeparator();
    m.valueMatrix = f.Add("valueMatrix", QStringLiteral("数値表として出力する(&V)"), output_, &OutputController::showValueMatrixOutput);
    m.pcordCsv = f.Add("pcordCsv", QStringLiteral("PCord 用のCSV型出力(&C)"), output_, &OutputController::showPCordOutput);
    {
        Builder s{this, f.Sub("siteData", QStringLiteral("分布データ等を出力(&D)"))};
        m.siteData = s.menu->menuAction();
        m.plotData = s.Add("plotData", QStringLiteral("立地環境データ"), output_, &OutputController::exportSiteData);
        m.gpsPot = s.Add("gpsPot", QStringLiteral("GPS　POTデータ"), output_, &OutputController::exportGpsPoints);
        m.meshData = s.Add("meshData", QStringLiteral("メッシュ分布データ"), output_, &OutputController::exportMeshData);
    }
    f.menu->addSeparator();
    m.quit = f.Add("quit", QStringLiteral("終　　　　了(&Q)"), &MainWindow::quit,
                   QStringLiteral("プログラムを終了する"));
}

void MainWindow::buildToolsMenu(QMenuBar* bar) {
    MenuActions& m = actions_;
    // Table tools.
    Builder t{this, bar->addMenu(QStringLiteral("表ツール(&T)"))};
    m.recount = t.Add("recount", QStringLiteral("出現頻度を再計算する(&F)"), &MainWindow::recountFrequencies);
    t.menu->addSeparator();
    m.sortSpecies = t.Add("sortSpecies", QStringLiteral("植物を頻度順で並び替え(&P)"), ranges_, &RangeController::sortSpecies);
    m.sortReleves = t.Add("sortReleves", QStringLiteral("測定を種数順で並び替え(&O)"), ranges_, &RangeController::sortReleves);
    t.menu->addSeparator();
    m.reciprocalAveraging = t.Add("reciprocalAveraging", QStringLiteral("反復平均法で行列並び替え(&H)"));
    t.menu->addSeparator();
    m.hideSiteRows = t.Add("hideSiteRows", QStringLiteral("立地情報を隠す"), ranges_, &RangeController::toggleSiteRows);
    m.hideSiteRows->setCheckable(true);
    m.hideRanges = t.Add("hideRanges", QStringLiteral("行・列を部分的に隠す"), ranges_, &RangeController::toggleHiddenRanges);
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

void MainWindow::buildEditMenu(QMenuBar* bar) {
    MenuActions& m = actions_;
    // Edit and search.
    Builder e{this, bar->addMenu(QStringLiteral("編集・検索(&E)"))};
    buildUndo(e.menu);
    e.menu->addSeparator();
    m.search = e.Add("search", QStringLiteral("表内を検索する"), editing_, &EditingController::showSearchPanel);
    m.resetSearch = e.Add("resetSearch", QStringLiteral("検索状態の解除"), editing_, &EditingController::resetSearch);
    e.menu->addSeparator();
    m.deleteRow = e.Add("deleteRow", QStringLiteral("この行を削除する"));
    m.deleteColumn = e.Add("deleteColumn", QStringLiteral("この列を削除する"));
    e.menu->addSeparator();
    m.insertRow = e.Add("insertRow", QStringLiteral("この上に行を挿入"));
    m.writeComment = e.Add("writeComment", QStringLiteral("コメントを書込む"));
    m.insertColumn = e.Add("insertColumn", QStringLiteral("この左に列を挿入"));
    e.menu->addSeparator();
    m.editTitle = e.Add("editTitle", QStringLiteral("組成表の標題を編集"), &MainWindow::editTitle);
}

void MainWindow::buildSettingsMenu(QMenuBar* bar) {
    MenuActions& m = actions_;
    // Settings.
    Builder c{this, bar->addMenu(QStringLiteral("設定変更(&C)"))};
    m.useEmbeddedItems = c.Add("useEmbeddedItems", QStringLiteral("データ埋込項目を使う"), &MainWindow::toggleEmbeddedItems);
    m.useEmbeddedItems->setCheckable(true);
    m.readSettings = c.Add("readSettings", QStringLiteral("設定ファイル読込み(&I)"), &MainWindow::readSettingsFile);
    m.readDictionary = c.Add("readDictionary", QStringLiteral("異名辞書の読込み(&D)"), &MainWindow::readDictionary);
    c.menu->addSeparator();
    m.changeItems = c.Add("changeItems", QStringLiteral("表組み項目の変更(&M)"), output_, &OutputController::changeHeaderItems);
    m.tableFont = c.Add("tableFont", QStringLiteral("表のフォント変更(&F)"), &MainWindow::chooseTableFont);

    // The interface language, written into the settings file the program starts with; it
    // takes effect at the next start. Its names are the same in either language.
    c.menu->addSeparator();
    QMenu* language = c.Sub("languageMenu", QStringLiteral("Language / 言語"));  // the same in every language
    auto* languages = new QActionGroup(language);
    const std::pair<const char*, QString> choices[] = {
        {"ja", QStringLiteral("日本語")},  // the same in every language
        {"en", QStringLiteral("English")},
        {"system", QStringLiteral("システムに従う / Follow the system")},  // the same in every language
    };
    for (const auto& [code, caption] : choices) {
        QAction* a = language->addAction(caption);
        a->setObjectName(QStringLiteral("language_") + QLatin1String(code));
        a->setData(QString::fromLatin1(code));
        a->setCheckable(true);
        languages->addAction(a);
    }
    const auto languageSettings = [this] {
        const QString program = programPath_.isEmpty() ? QCoreApplication::applicationFilePath() : programPath_;
        return DefaultIniPath(program.toStdString());
    };
    connect(language, &QMenu::aboutToShow, this, [language, languageSettings] {
        std::string current = ReadLanguageSetting(languageSettings());
        for (char& ch : current) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (current != "ja" && current != "en") current = "system";
        for (QAction* a : language->actions()) a->setChecked(a->data().toString().toStdString() == current);
    });
    connect(languages, &QActionGroup::triggered, this, [this, languageSettings](QAction* a) {
        try {
            WriteLanguageSetting(languageSettings(), a->data().toString().toStdString());
        } catch (const std::exception& e) {
            showError(QStringLiteral("設定ファイルに書き込めません。"), e);
            return;
        }
        dialogs_->inform(this, QStringLiteral("表示の言語は次の起動から変わります。\n"  // the same in every language
                                              "The language changes at the next start."));
    });
}

void MainWindow::buildHelpMenu(QMenuBar* bar) {
    MenuActions& m = actions_;
    // Help.
    Builder h{this, bar->addMenu(QStringLiteral("ヘルプ(&H)"))};
    m.dataCheck = h.Add("dataCheck", QStringLiteral("データ検査する"), &MainWindow::chooseDataCheckMode);
    m.manual = h.Add("manual", QStringLiteral("使用法　　(&H)"), &MainWindow::openManual,
                     QStringLiteral("使用説明書を開く"));
    m.version = h.Add("version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), &MainWindow::showAbout,
                      QStringLiteral("バージョン情報を示す"));
}

}  // namespace tavik::ui
