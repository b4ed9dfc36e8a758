// The main menu: every command with its caption, separators, hints and enabling.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/main_window.h"

namespace tavik::ui {

namespace {
struct Builder {
    QMainWindow* w;
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
    QMenu* Sub(const char* name, const QString& caption, const QString& hint = {}) {
        QMenu* m = menu->addMenu(caption);
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) m->menuAction()->setStatusTip(hint);
        return m;
    }
};
}  // namespace

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto later = [this](QAction* a) {
        a->setEnabled(false);
        notYet_.append(a);
        return a;
    };

    // File.
    Builder f{this, bar->addMenu(QStringLiteral("ファイル(&F)"))};
    connect(f.Add("Item_NewTable", QStringLiteral("組成表を初期化する(&N)"),
                  QStringLiteral("表を白紙化して新しい組成表を作る")),
            &QAction::triggered, this, &MainWindow::ClearTable);
    connect(f.Add("Item_AddReleve", QStringLiteral("表にデータを加える(&A)"),
                  QStringLiteral("組成表にデータを加える")),
            &QAction::triggered, this, &MainWindow::Item_AddReleveClick);
    connect(f.Add("Item_LoadTable", QStringLiteral("保存した表を読込む(&L)"),
                  QStringLiteral("現在の組成表を保存する")),
            &QAction::triggered, this, &MainWindow::Item_LoadTableClick);
    connect(f.Add("Item_FileChg", QStringLiteral("データファイルの指定(&F)")), &QAction::triggered,
            this, &MainWindow::Item_FileChgClick);
    f.menu->addSeparator();
    connect(f.Add("Item_SaveTable", QStringLiteral("現在の表を保存する(&S)"),
                  QStringLiteral("現在の組成表を保存する")),
            &QAction::triggered, this, &MainWindow::Item_SaveTableClick);
    outTableMenu_ = f.Sub("Item_OutTable", QStringLiteral("組成表として出力"));
    {
        Builder o{this, outTableMenu_};
        later(o.Add("Item_TextFile", QStringLiteral("表をテキスト出力(&F)"),
                    QStringLiteral("表をﾃｷｽﾄファイルとして出力する")));
        later(o.Add("Item_ExcelFile", QStringLiteral("エクセル形式出力(&X)")));
        later(o.Add("Item_PrintTable", QStringLiteral("組成表を直接印刷(&P)"),
                    QStringLiteral("現在の表をて印刷する")));
        later(o.Add("Item_PrintKanni", QStringLiteral("表を省略簡易印刷(&K)")));
    }
    later(f.Add("Item_PrintSetup", QStringLiteral("プリンターの設定(&T)"),
                QStringLiteral("プリンタの設定を変更する")));
    f.menu->addSeparator();
    later(f.Add("Item_ValueMatrix", QStringLiteral("数値表として出力する(&V)")));
    later(f.Add("Item_PCordCSV", QStringLiteral("PCord 用のCSV型出力(&C)")));
    siteDataMenu_ = f.Sub("Item_SiteData", QStringLiteral("分布データ等を出力(&D)"));
    {
        Builder s{this, siteDataMenu_};
        later(s.Add("Item_PlotData", QStringLiteral("立地環境データ")));
        later(s.Add("Item_GPSPOT", QStringLiteral("GPS　POTデータ")));
        later(s.Add("Item_MeshData", QStringLiteral("メッシュ分布データ")));
    }
    f.menu->addSeparator();
    connect(f.Add("Item_Quit", QStringLiteral("終　　　　了(&Q)"),
                  QStringLiteral("プログラムを終了する")),
            &QAction::triggered, this, &MainWindow::Btn_QuitClick);

    // Table tools.
    Builder t{this, bar->addMenu(QStringLiteral("表ツール(&T)"))};
    connect(t.Add("Item_Frequency", QStringLiteral("出現頻度を再計算する(&F)")),
            &QAction::triggered, this, &MainWindow::Item_FrequencyClick);
    t.menu->addSeparator();
    connect(t.Add("Item_SortPlant", QStringLiteral("植物を頻度順で並び替え(&P)")),
            &QAction::triggered, this, &MainWindow::Item_SortPlantClick);
    connect(t.Add("Item_SortReleve", QStringLiteral("測定を種数順で並び替え(&O)")),
            &QAction::triggered, this, &MainWindow::Item_SortReleveClick);
    t.menu->addSeparator();
    later(t.Add("Item_Recip", QStringLiteral("反復平均法で行列並び替え(&H)")));
    t.menu->addSeparator();
    QAction* hideSite = t.Add("Item_HideSite", QStringLiteral("立地情報を隠す"));
    hideSite->setCheckable(true);
    connect(hideSite, &QAction::triggered, this, &MainWindow::Item_HideSiteClick);
    QAction* hideRC = t.Add("Item_HideRC", QStringLiteral("行・列を部分的に隠す"));
    hideRC->setCheckable(true);
    connect(hideRC, &QAction::triggered, this, &MainWindow::Item_HideRCClick);
    t.menu->addSeparator();
    later(t.Add("ItemMake_FreqTable", QStringLiteral("常在度表を作成する")));
    later(t.Add("Item_ShowFreqTable", QStringLiteral("常在度表を再表示する")));
    t.menu->addSeparator();

    // Edit and search.
    Builder e{this, bar->addMenu(QStringLiteral("編集・検索(&E)"))};
    connect(e.Add("Item_Search", QStringLiteral("表内を検索する")), &QAction::triggered, this,
            &MainWindow::Item_SearchClick);
    connect(e.Add("Item_ResetSearch", QStringLiteral("検索状態の解除")), &QAction::triggered, this,
            &MainWindow::Item_ResetSearchClick);
    e.menu->addSeparator();
    connect(e.Add("Item_DelRow", QStringLiteral("この行を削除する")), &QAction::triggered, this,
            &MainWindow::Item_DelRowClick);
    connect(e.Add("Item_DelCol", QStringLiteral("この列を削除する")), &QAction::triggered, this,
            &MainWindow::Item_DelColClick);
    e.menu->addSeparator();
    connect(e.Add("Item_InsRow", QStringLiteral("この上に行を挿入")), &QAction::triggered, this,
            &MainWindow::Item_InsRowClick);
    connect(e.Add("Item_Comment", QStringLiteral("コメントを書込む")), &QAction::triggered, this,
            &MainWindow::Item_CommentClick);
    connect(e.Add("Item_InsCol", QStringLiteral("この左に列を挿入")), &QAction::triggered, this,
            &MainWindow::Item_InsColClick);
    e.menu->addSeparator();
    connect(e.Add("Item_EditTitle", QStringLiteral("組成表の標題を編集")), &QAction::triggered,
            this, &MainWindow::Item_EditTitleClick);

    // Settings.
    Builder c{this, bar->addMenu(QStringLiteral("設定変更(&C)"))};
    QAction* useFI = c.Add("Item_UseFI", QStringLiteral("データ埋込項目を使う"));
    useFI->setCheckable(true);
    connect(useFI, &QAction::triggered, this, &MainWindow::Item_UseFIClick);
    connect(c.Add("Item_ReadINI", QStringLiteral("設定ファイル読込み(&I)")), &QAction::triggered,
            this, &MainWindow::Item_ReadINIClick);
    connect(c.Add("Item_CheckName", QStringLiteral("異名辞書の読込み(&D)")), &QAction::triggered,
            this, &MainWindow::Item_CheckNameClick);
    c.menu->addSeparator();
    later(c.Add("Item_ChangeItem", QStringLiteral("表組み項目の変更(&M)")));
    connect(c.Add("Item_SetFont", QStringLiteral("表のフォント変更(&F)")), &QAction::triggered,
            this, &MainWindow::Item_SetFontClick);

    // Help.
    Builder h{this, bar->addMenu(QStringLiteral("ヘルプ(&H)"))};
    connect(h.Add("DataChkMode", QStringLiteral("データ検査する")), &QAction::triggered, this,
            &MainWindow::DataChkModeClick);
    connect(h.Add("Item_Manual", QStringLiteral("使用法　　(&H)"), QStringLiteral("使用説明書を開く")),
            &QAction::triggered, this, &MainWindow::Item_ManualClick);
    connect(h.Add("Item_Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), QStringLiteral("唄ジョン情報を示す")),
            &QAction::triggered, this, &MainWindow::Item_VersionClick);

    // Checked items report through triggered; their ticks follow the window's state.
    for (QAction* a : {hideSite, hideRC, useFI})
        connect(a, &QAction::triggered, this, [this] { SetTicks(); });
}

}  // namespace tavik::ui
