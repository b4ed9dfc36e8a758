// The program's state as both front ends hold it: the composition table, the synonym
// dictionary, the settings and the file names, with the operations that meet files.
// The desktop program's main window owns one; tavik-cli makes one per run.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/dictionary.h"
#include "core/progress.h"
#include "core/retrieval.h"
#include "core/table.h"
#include "formats/atomic_file.h"
#include "formats/saved_table.h"

namespace tavik {

// Settings that the table itself does not hold. Item captions and enabled states live in
// Table::ItemBoxes, the table font in Table::FontName / FontSize.
struct Settings {
    std::string directory = "c:\\Data\\Veg";  // [DataDir] Directory
    std::string title = "Vegetation Table";   // [Table] Title (the output title field)
    // [Table] OutputFontName, OutputFontSize: the font of printed output once the user has
    // chosen one; empty, the printed output follows the table font.
    std::string outputFontName;
    int outputFontSize = 0;
    std::string kaisou = "T1T2S1S2H1H2 M";                 // [Item] Kaisou, at most 14 characters
    bool frequency = false;                                // [Item] Frequecy (the key as existing files spell it)
    bool oneTime = false;                                  // [Item] OneTime
    bool useDataItem = true;                               // [Item] UseDataItem
    int direction = 0;                                     // [Item] Direction
    int cvMethod = 1;                                      // [Item] CV_Method
    int top = 132, left = 150, height = 538, width = 724;  // [WinSize]
    bool windowPlaced = false;                             // [WinSize] holds a size: the window was placed before
    // [Edit] UndoLimit: the steps the undo history keeps (0: no limit).
    int undoLimit = 100;
    // [Edit] AskToSave: asking before a table with unsaved changes is cleared, replaced or
    // closed.
    bool askToSave = true;
    // [Edit] RecoveryMinutes: how often a table with unsaved changes is written to the
    // recovery file (0: only after long commands).
    int recoveryMinutes = 5;
    // [Edit] Utf8Files: text and CSV outputs as UTF-8 with a BOM (else CP932), chosen in the
    // output panel and the second window.
    bool utf8Files = false;
};

class FieldFiles;
class Workspace;

// A saved table read aside, with its companion settings file, not yet taken into a
// workspace (Workspace::ReadTableFile, TakeLoadedSettings).
struct LoadedTable {
    Table table;
    std::string settingsProblem;
    // Puts the companion settings into a workspace; empty when there were none to use.
    std::function<void(Workspace&)> applySettings;
};

class Workspace {
public:
    Workspace();

    Table table;
    Dictionary dict;
    Settings settings;
    std::string iniFileName;
    // kNoFileName until a file is named; the settings file stores it as it is.
    static constexpr const char* kNoFileName = "未指定";  // data, not interface
    std::string dataFileName = kNoFileName;
    std::string dictFileName = kNoFileName;
    // Why the companion settings file of the table loaded last was not used, or empty: what
    // the front end tells the user as a warning.
    std::string settingsProblem;

    // Start-up: the model reset, then the settings at `iniPath` applied (defaults for what
    // the file lacks; all defaults when it does not exist), which lays out the empty table.
    void Start(const std::string& iniPath);

    // Applies a settings file as the program does at start: junk values give defaults; the
    // dictionary it names is appended when that file exists; the table is cleared when
    // empty, its layout renewed otherwise. A dictionary that exists but cannot be read is
    // thrown after everything else has been applied.
    void ReadIniFile(const std::string& path);
    // Writes every key in the program's order into the file at `path`, keeping the sections
    // and keys of that file that the program does not know.
    // Throws std::runtime_error ("... に書き込めません") when the file cannot be written.
    void WriteIniFile(const std::string& path) const;

    // Appends the entries of a dictionary file; false when it does not exist.
    // Throws on a file that exists but cannot be read or decoded, or is not a regular file
    // (a FIFO, a device).
    bool SetDictionary(const std::string& path);

    // Writes the table as it is made into a temporary file in the same folder, which then
    // replaces the old one (AtomicFile). A read-only file is refused (ReadOnlyFileError)
    // unless `readOnly` says to replace it. The report tells whether the file had to be
    // written as UTF-8 and why. A name ending in ".gz" is written with gzip, one ending in
    // ".zst" with zstd. With `progress`, a stop (WorkStopped) leaves the old file as it was.
    SaveReport SaveTable(const std::string& path, Progress* progress = nullptr,
                         AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse) const;
    // Loads a saved table, all or nothing: on any error (std::runtime_error naming the file,
    // the line and the problem) the table stays as it was. A settings file of the same name
    // beside it is applied first; when that file cannot be read, the table is loaded without
    // it and settingsProblem says why. Plain, gzip and zstd files are told apart by their
    // first bytes. With `progress`, a stop (WorkStopped) leaves the table as it was.
    void LoadTable(const std::string& path, Progress* progress = nullptr);
    // The two halves of LoadTable, so that the reading can run on a thread of its own: the
    // reading leaves the workspace as it is (it only reads the font and item names the
    // table starts from), the taking applies the companion settings. The table itself is
    // the caller's to put in place.
    LoadedTable ReadTableFile(const std::string& path, Progress* progress = nullptr) const;
    void TakeLoadedSettings(LoadedTable& loaded);

    // ---- Field data ----
    // Why the current pair may not belong together (FieldFiles::PairProblem), or empty:
    // what the front end tells the user after choosing it.
    std::string dataFileProblem;
    // The number of relevé records in the current data file (0 until one is chosen).
    int releveRecordCount = 0;
    // The flags and hit count of the retrieval panel.
    Retrieval retrieval;

    // Choosing a data file: `path` (the index file, ".tki") becomes dataFileName, the pair is
    // counted and, when settings.useDataItem is on, its header record is applied: the table
    // is cleared when it holds no relevé, its layout renewed otherwise. Throws
    // std::runtime_error ("正しいファイルが指定されていません: ...") when the pair cannot be
    // opened; nothing changes then.
    void SetDataFile(const std::string& path);
    // Applies the header record of the current data file (title, item names and
    // availability, K and D). Throws as SetDataFile.
    void ReadDataHeader();
    // Opening the retrieval panel: fresh flags for every record of the current data file.
    void OpenRetrieval();
    // One scan over the current data file. A new scan clears the flags first, also when the
    // files then cannot be opened (std::runtime_error as SetDataFile). Throws
    // std::invalid_argument when a condition's cover class is not 0..5. The table stays as it
    // is: the K and D codes the scan read come into the table with the next put.
    ScanResult Scan(const ScanParams& params, RetrievalProgress* progress = nullptr);
    // Puts every marked relevé into the table as a new column and recounts. When the files
    // cannot be opened the table is still recounted, then std::runtime_error is thrown.
    // The title prompt is the caller's: propose ProposedTitle(). The K and D codes read last
    // (by this pass, else by the scans before it) are returned, not written into the table:
    // they become the table's as part of the step that puts the relevés in (AppendChange).
    PutResult PutIntoTable(RetrievalProgress* progress = nullptr);
    // The text the title prompt proposes: the table's title, or the data file's name
    // without its folder and extension when the title is empty.
    std::string ProposedTitle() const;
    // "標準名に変換": the standard name of an entered species name (blanks trimmed first).
    std::string StandardName(const std::string& name) const;
    // ---- end of field data ----

private:
    // The current pair, opened when it is chosen and kept for the scans and the putting pass
    // while its files are unchanged: opening checks the whole index and the encoding.
    FieldFiles& DataFiles();
    std::shared_ptr<FieldFiles> dataFiles_;
    std::string dataFilesPath_;            // the dataFileName it was opened for
    int scanCodeK_ = -1, scanCodeD_ = -1;  // the codes the scans read last, -1 for none
};

// The companion settings file of a saved table, applied when the table is loaded: the same
// path with ".ini" ("t.vtb.gz" -> "t.ini"), the exact name first, then any letter case.
// Empty when there is none.
std::string CompanionIniPath(const std::string& tablePath);

// Where the settings file lives: beside the program (its path with ".ini") when that
// folder can be written, otherwise in the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config)/tavik/tavik.ini. An installed program (its folder has
// share/tavik/ beside it, as bin/ has) shares its folder with every other program and keeps
// its settings in the configuration folder always, even for a user who could write there.
std::string DefaultIniPath(const std::string& programPath);

}  // namespace tavik
