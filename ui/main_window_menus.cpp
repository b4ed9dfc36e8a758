// The main menu (ui/main_menu.h) and what each of its commands does: the window's own
// commands and those of its controllers.
#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include <cctype>
#include <string>

#include "formats/language_setting.h"
#include "formats/workspace.h"
#include "ui/editing_controller.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/output_controller.h"
#include "ui/retrieval_controller.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mainMenu"));
    actions_ = BuildMainMenu(bar, this);
}

void MainWindow::connectMenus() {
    const MenuActions& m = actions_;
    auto run = [this](QAction* a, auto* receiver, auto slot) { connect(a, &QAction::triggered, receiver, slot); };
    // File.
    run(m.newTable, this, &MainWindow::clearTable);
    run(m.addReleves, retrieval_, &RetrievalController::showRetrievalPanel);
    run(m.loadTable, this, &MainWindow::openTable);
    run(m.chooseDataFile, this, &MainWindow::chooseDataFile);
    run(m.saveTable, this, &MainWindow::saveTable);
    run(m.textFile, output_, &OutputController::showTextOutput);
    run(m.excelFile, output_, &OutputController::showSpreadsheetOutput);
    run(m.printTable, output_, &OutputController::showPrintOutput);
    run(m.printBrief, output_, &OutputController::showSimplePrintOutput);
    run(m.printSetup, output_, &OutputController::setUpPrinter);
    run(m.valueMatrix, output_, &OutputController::showValueMatrixOutput);
    run(m.pcordCsv, output_, &OutputController::showPCordOutput);
    run(m.plotData, output_, &OutputController::exportSiteData);
    run(m.gpsPot, output_, &OutputController::exportGpsPoints);
    run(m.meshData, output_, &OutputController::exportMeshData);
    run(m.quit, this, &MainWindow::quit);
    // Table tools (the analyses' and the classification's are connected with their
    // controllers).
    run(m.recount, this, &MainWindow::recountFrequencies);
    run(m.sortSpecies, ranges_, &RangeController::sortSpecies);
    run(m.sortReleves, ranges_, &RangeController::sortReleves);
    run(m.hideSiteRows, ranges_, &RangeController::toggleSiteRows);
    run(m.hideRanges, ranges_, &RangeController::toggleHiddenRanges);
    // Edit and search (undo and redo are the history's).
    run(m.search, editing_, &EditingController::showSearchPanel);
    run(m.resetSearch, editing_, &EditingController::resetSearch);
    run(m.editTitle, this, &MainWindow::editTitle);
    // Settings.
    run(m.useEmbeddedItems, this, &MainWindow::toggleEmbeddedItems);
    run(m.readSettings, this, &MainWindow::readSettingsFile);
    run(m.readDictionary, this, &MainWindow::readDictionary);
    run(m.changeItems, output_, &OutputController::changeHeaderItems);
    run(m.tableFont, this, &MainWindow::chooseTableFont);
    // Help.
    run(m.dataCheck, this, &MainWindow::chooseDataCheckMode);
    run(m.manual, this, &MainWindow::openManual);
    run(m.version, this, &MainWindow::showAbout);

    // Checked items report through triggered; their ticks follow the window's state.
    for (QAction* a : {m.hideSiteRows, m.hideRanges, m.useEmbeddedItems})
        connect(a, &QAction::triggered, this, [this] { updateTicks(); });
    connectLanguageMenu();
}

void MainWindow::connectLanguageMenu() {
    // The interface language, written into the settings file the program starts with; it
    // takes effect at the next start.
    QMenu* language = actions_.languageMenu;
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
    connect(actions_.languages, &QActionGroup::triggered, this, [this, languageSettings](QAction* a) {
        try {
            WriteLanguageSetting(languageSettings(), a->data().toString().toStdString());
        } catch (const std::exception& e) {
            showError(QCoreApplication::translate("MainWindow", "設定ファイルに書き込めません。"), e);
            return;
        }
        dialogs_->inform(this, QStringLiteral("表示の言語は次の起動から変わります。\n"  // the same in every language
                                              "The language changes at the next start."));
    });
}

}  // namespace tavik::ui
