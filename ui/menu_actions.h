// The commands of the main menu, one QAction each, made by BuildMainMenu (ui/main_menu.h).
// The window connects them to what they do and enables them as the table allows.
#pragma once

class QAction;
class QActionGroup;
class QMenu;

namespace tavik::ui {

// The commands of the main menu. Those of later work are shown and never enabled.
struct MenuActions {
    // File.
    QAction* newTable = nullptr;
    QAction* addReleves = nullptr;
    QAction* loadTable = nullptr;
    QAction* chooseDataFile = nullptr;
    QAction* saveTable = nullptr;
    QAction* outputTable = nullptr;  // the submenu
    QAction* textFile = nullptr;
    QAction* excelFile = nullptr;
    QAction* printTable = nullptr;
    QAction* printBrief = nullptr;
    QAction* printSetup = nullptr;
    QAction* valueMatrix = nullptr;
    QAction* pcordCsv = nullptr;
    QAction* siteData = nullptr;  // the submenu
    QAction* plotData = nullptr;
    QAction* gpsPot = nullptr;
    QAction* meshData = nullptr;
    QAction* quit = nullptr;
    // Table tools.
    QAction* recount = nullptr;
    QAction* sortSpecies = nullptr;
    QAction* sortReleves = nullptr;
    QAction* reciprocalAveraging = nullptr;
    QAction* hideSiteRows = nullptr;
    QAction* hideRanges = nullptr;
    QAction* makeConstancyTable = nullptr;
    QAction* showConstancyTable = nullptr;
    QAction* sortByDiagnosticBlocks = nullptr;
    QAction* classify = nullptr;
    QAction* readGroups = nullptr;
    QAction* writeGroups = nullptr;
    // Edit and search.
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* search = nullptr;
    QAction* resetSearch = nullptr;
    QAction* deleteRow = nullptr;
    QAction* deleteColumn = nullptr;
    QAction* insertRow = nullptr;
    QAction* writeComment = nullptr;
    QAction* insertColumn = nullptr;
    QAction* editTitle = nullptr;
    // Settings.
    QAction* useEmbeddedItems = nullptr;
    QAction* readSettings = nullptr;
    QAction* readDictionary = nullptr;
    QAction* changeItems = nullptr;
    QAction* tableFont = nullptr;
    // The interface language: 日本語, English or the system's; each action's data is its
    // code ("ja", "en", "system").
    QMenu* languageMenu = nullptr;
    QActionGroup* languages = nullptr;
    // Help.
    QAction* dataCheck = nullptr;
    QAction* manual = nullptr;
    QAction* version = nullptr;
};

}  // namespace tavik::ui
