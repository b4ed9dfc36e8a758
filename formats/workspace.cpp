#include "formats/workspace.h"

#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "core/cp932_width.h"
#include "core/messages.h"
#include "formats/byte_source.h"
#include "formats/codec.h"
#include "formats/dictionary_file.h"
#include "formats/file_bytes.h"
#include "formats/file_error.h"
#include "formats/gzip_sink.h"
#include "formats/ini_file.h"
#include "formats/input_file.h"
#include "formats/saved_table.h"
#include "formats/text_lines.h"
#include "formats/zstd_sink.h"

namespace tavik {

namespace fs = std::filesystem;

namespace {

struct ItemDefault {
    const char* caption;
    bool enabled;
};

// The item names and header rows a settings file gives by default (item 1 is always on).
// data, not interface
constexpr ItemDefault kItemDefaults[kItemCount] = {
    {"表番号", true},
    {"測定番号", true},
    {"調査地名", true},
    {"調査年月日", false},
    {"地点緯度（度分秒）", false},
    {"地点経度（度分秒）", false},
    {"地理区画コード", false},
    {"調査地標高(m)", true},
    {"傾斜方位", true},
    {"傾斜角度", true},
    {"地形位置", true},
    {"微地形", true},
    {"表層地質", false},
    {"土壌型", false},
    {"調査面積（㎡）", true},
    {"高 木 層高さ（m）", true},
    {"亜高木層高さ（m）", true},
    {"低 木 層高さ（m）", true},
    {"低木層２高さ（m）", false},
    {"草 本 層高さ（m）", true},
    {"草本層２高さ（m）", false},
    {"コ ケ 層高さ（m）", false},
    {"高 木 層植被率（%）", true},
    {"亜高木層植被率（%）", true},
    {"低 木 層植被率（%）", true},
    {"低木層２植被率（%）", false},
    {"草 本 層植被率（%）", true},
    {"草本層２植被率（%）", false},
    {"コ ケ 層植被率（%）", false},
    {"出現種数", true},
};

constexpr int kDefaultFontSize = 9;
constexpr int kMaxFontSize = 200;
constexpr int kCvMethods = 7;

std::string ItemKey(int n, const char* what) {
    std::string k = "C00";
    k[1] = static_cast<char>('0' + n / 10);
    k[2] = static_cast<char>('0' + n % 10);
    return k + what;
}

// Everything a settings file sets, read but not yet applied.
struct SettingsValues {
    Settings settings;
    std::string synDict;
    std::string fontName;
    int fontSize = kDefaultFontSize;
    std::array<ItemBox, kItemCount + 1> items;

    static SettingsValues From(const IniDocument& ini) {
        SettingsValues v;
        const Settings d;
        Settings& s = v.settings;
        s.directory = ini.ReadString("DataDir", "Directory", d.directory);
        v.synDict = ini.ReadString("Files", "SynDict", "異名表.dic");   // data, not interface
        v.fontName = ini.ReadString("Table", "FontName", "ＭＳ 明朝");  // data, not interface
        v.fontSize = ini.ReadInteger("Table", "FontSize", kDefaultFontSize);
        if (v.fontSize < 1 || v.fontSize > kMaxFontSize) v.fontSize = kDefaultFontSize;
        s.title = ini.ReadString("Table", "Title", d.title);
        s.outputFontName = ini.ReadString("Table", "OutputFontName", "");
        s.outputFontSize = ini.ReadInteger("Table", "OutputFontSize", 0);
        if (s.outputFontName.empty() || s.outputFontSize < 1 || s.outputFontSize > kMaxFontSize) {
            s.outputFontName.clear();
            s.outputFontSize = 0;
        }
        for (int n = 1; n <= kItemCount; ++n) {
            const ItemDefault& def = kItemDefaults[n - 1];
            ItemBox& box = v.items[static_cast<std::size_t>(n)];
            box.enabled = n == 1 || ini.ReadBool("Item", ItemKey(n, "flg"), def.enabled);
            box.caption = ini.ReadString("Item", ItemKey(n, "str"), def.caption);
        }
        s.kaisou = std::string(Cp932Cut(ini.ReadString("Item", "Kaisou", d.kaisou), 14));
        // "Frequecy" is spelled as every existing settings file spells it.
        s.frequency = ini.ReadBool("Item", "Frequecy", d.frequency);
        s.oneTime = ini.ReadBool("Item", "OneTime", d.oneTime);
        s.useDataItem = ini.ReadBool("Item", "UseDataItem", d.useDataItem);
        s.direction = ini.ReadInteger("Item", "Direction", d.direction);
        if (s.direction < 0 || s.direction > 1) s.direction = d.direction;
        s.cvMethod = ini.ReadInteger("Item", "CV_Method", d.cvMethod);
        if (s.cvMethod < 0 || s.cvMethod >= kCvMethods) s.cvMethod = d.cvMethod;
        s.top = ini.ReadInteger("WinSize", "Top", d.top);
        s.left = ini.ReadInteger("WinSize", "Left", d.left);
        s.height = ini.ReadInteger("WinSize", "Height", d.height);
        if (s.height <= 0) s.height = d.height;
        s.width = ini.ReadInteger("WinSize", "Width", -1);
        s.windowPlaced = s.width > 0 && ini.ReadInteger("WinSize", "Height", -1) > 0;
        if (s.width <= 0) s.width = d.width;
        s.undoLimit = ini.ReadInteger("Edit", "UndoLimit", d.undoLimit);
        if (s.undoLimit < 0 || s.undoLimit > 100000) s.undoLimit = d.undoLimit;
        s.askToSave = ini.ReadBool("Edit", "AskToSave", d.askToSave);
        s.recoveryMinutes = ini.ReadInteger("Edit", "RecoveryMinutes", d.recoveryMinutes);
        s.utf8Files = ini.ReadBool("Edit", "Utf8Files", d.utf8Files);
        if (s.recoveryMinutes < 0 || s.recoveryMinutes > 24 * 60) s.recoveryMinutes = d.recoveryMinutes;
        return v;
    }
};

// A settings file read together with the dictionary it names, so that nothing is applied
// before everything has been read.
struct StagedSettings {
    SettingsValues values;
    bool dictFound = false;
    std::vector<DictionaryEntry> dict;
    std::exception_ptr dictError;  // the dictionary exists but could not be read
};

StagedSettings StageSettings(const std::string& path) {
    StagedSettings st;
    st.values = SettingsValues::From(ReadIniDocument(path));
    try {
        st.dictFound = ReadDictionaryFile(st.values.synDict, st.dict);
    } catch (...) {
        st.dictError = std::current_exception();
    }
    return st;
}

// Everything but the table's layout, in the order the program always applied settings.
void ApplySettings(Workspace& ws, const StagedSettings& st) {
    const SettingsValues& v = st.values;
    ws.settings = v.settings;
    ws.dictFileName = v.synDict;
    ws.table.FontName = v.fontName;
    ws.table.FontSize = v.fontSize;
    for (int n = 1; n <= kItemCount; ++n) {
        ws.table.ItemBoxes[static_cast<std::size_t>(n)].enabled = v.items[static_cast<std::size_t>(n)].enabled;
        ws.table.ItemBoxes[static_cast<std::size_t>(n)].caption = v.items[static_cast<std::size_t>(n)].caption;
    }
    if (st.dictFound)
        for (const DictionaryEntry& e : st.dict) ws.dict.Add(e.synonym, e.standard);
}

// The table follows the settings: a table with relevés keeps its header rows and the item
// boxes follow them; an empty one is laid out anew from the enabled items.
void LayOut(Workspace& ws) {
    Table& t = ws.table;
    if (t.ReleveCount() > 0) {
        t.LayOutHeaderRows();
        return;
    }
    for (std::size_t n = 1; n <= kItemCount; ++n) t.ItemBoxes[n].checked = t.ItemBoxes[n].enabled;
    t.ClearTable();
}

std::string Bool(bool b) { return b ? "1" : "0"; }

}  // namespace

Workspace::Workspace() = default;

void Workspace::Start(const std::string& iniPath) {
    table.InitTableModel();
    iniFileName = iniPath;
    // A settings file that cannot be read still leaves a laid-out table, on the defaults;
    // the caller reports the error.
    StagedSettings st;
    std::exception_ptr error;
    try {
        st = StageSettings(iniPath);
    } catch (...) {
        error = std::current_exception();
        st = StageSettings(std::string());
    }
    ApplySettings(*this, st);
    LayOut(*this);
    if (!error) error = st.dictError;
    if (error) std::rethrow_exception(error);
}

void Workspace::ReadIniFile(const std::string& path) {
    const StagedSettings st = StageSettings(path);
    ApplySettings(*this, st);
    LayOut(*this);
    // A dictionary that exists but cannot be read is reported once the settings are in.
    if (st.dictError) std::rethrow_exception(st.dictError);
}

void Workspace::WriteIniFile(const std::string& path) const {
    using S = IniDocument::Section;
    std::vector<S> known;
    known.push_back({"DataDir", {{"Directory", settings.directory}}});
    known.push_back({"Files", {{"SynDict", dictFileName}}});
    known.push_back(
        {"Table",
         {{"FontName", table.FontName}, {"FontSize", std::to_string(table.FontSize)}, {"Title", settings.title}}});
    // The output font only once one was chosen; until then it follows the table font.
    if (!settings.outputFontName.empty()) {
        known.back().entries.push_back({"OutputFontName", settings.outputFontName});
        known.back().entries.push_back({"OutputFontSize", std::to_string(settings.outputFontSize)});
    }
    S item{"Item", {}};
    for (int n = 1; n <= kItemCount; ++n) {
        item.entries.push_back({ItemKey(n, "flg"), Bool(table.ItemBoxes[static_cast<std::size_t>(n)].enabled)});
        item.entries.push_back({ItemKey(n, "str"), table.ItemBoxes[static_cast<std::size_t>(n)].caption});
    }
    item.entries.push_back({"Kaisou", settings.kaisou});
    item.entries.push_back({"Frequecy", Bool(settings.frequency)});  // the key as files spell it
    item.entries.push_back({"OneTime", Bool(settings.oneTime)});
    item.entries.push_back({"UseDataItem", Bool(settings.useDataItem)});
    item.entries.push_back({"Direction", std::to_string(settings.direction)});
    item.entries.push_back({"CV_Method", std::to_string(settings.cvMethod)});
    known.push_back(std::move(item));
    known.push_back({"WinSize",
                     {{"Top", std::to_string(settings.top)},
                      {"Left", std::to_string(settings.left)},
                      {"Height", std::to_string(settings.height)},
                      {"Width", std::to_string(settings.width)}}});
    known.push_back({"Edit",
                     {{"UndoLimit", std::to_string(settings.undoLimit)},
                      {"AskToSave", Bool(settings.askToSave)},
                      {"RecoveryMinutes", std::to_string(settings.recoveryMinutes)},
                      {"Utf8Files", Bool(settings.utf8Files)}}});

    // What else the file holds stays: read it as it is now, just before replacing it.
    IniDocument existing;
    try {
        existing = ReadIniDocument(path);
    } catch (const std::exception&) {
        throw WriteError(path, 0);
    }
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && !fs::exists(folder, ec)) fs::create_directories(folder, ec);
    WriteFileAtomic(path, EncodeTextFile(existing.Write(known)));
}

bool Workspace::SetDictionary(const std::string& path) {
    std::vector<DictionaryEntry> entries;
    // A dictionary the user names that is there but is no file (a FIFO, a device) is said so,
    // not taken for missing; a folder is no dictionary, as before.
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!path.empty() && fs::exists(st) && !fs::is_regular_file(st) && !fs::is_directory(st)) InputFile refused(path);
    if (!ReadDictionaryFile(path, entries)) return false;
    for (DictionaryEntry& e : entries) dict.Add(std::move(e.synonym), std::move(e.standard));
    return true;
}

SaveReport Workspace::SaveTable(const std::string& path, Progress* progress,
                                AtomicFile::ReadOnlyTarget readOnly) const {
    if (progress) progress->Show(Tr("　組成表を保存中　"), "");
    AtomicFile file(path, readOnly);
    SaveReport report;
    if (IsZstdName(path)) {
        ZstdSink zst(file, path);
        report = WriteSavedTable(table, zst, progress);
        zst.Finish();
    } else if (IsGzipName(path)) {
        GzipSink gz(file, path);
        report = WriteSavedTable(table, gz, progress);
        gz.Finish();
    } else {
        report = WriteSavedTable(table, file, progress);
    }
    file.Commit();
    return report;
}

void Workspace::LoadTable(const std::string& path, Progress* progress) {
    LoadedTable loaded = ReadTableFile(path, progress);
    TakeLoadedSettings(loaded);
    table = std::move(loaded.table);
}

LoadedTable Workspace::ReadTableFile(const std::string& path, Progress* progress) const {
    if (progress) progress->Show(Tr("　組成表を読込中　"), "");
    const std::unique_ptr<ByteSource> source = OpenByteSource(path);

    // A settings file beside the table is read now and applied only with the table.
    // One that cannot be read is a warning: the table is loaded on the settings in use.
    std::string iniPath = CompanionIniPath(path);
    LoadedTable result;
    auto st = std::make_shared<StagedSettings>();
    if (!iniPath.empty()) {
        try {
            *st = StageSettings(iniPath);
        } catch (const std::exception& e) {
            result.settingsProblem = Arg(Tr("%1：この設定ファイルは使わずに読込みました"), {e.what()});
            iniPath.clear();
        }
        if (st->dictError) std::rethrow_exception(st->dictError);
    }

    Table& loaded = result.table;
    loaded.FontName = iniPath.empty() ? table.FontName : st->values.fontName;
    loaded.FontSize = iniPath.empty() ? table.FontSize : st->values.fontSize;
    loaded.CodeK = table.CodeK;
    for (int n = 1; n <= kItemCount; ++n)
        loaded.ItemBoxes[static_cast<std::size_t>(n)].caption =
            iniPath.empty() ? table.ItemBoxes[static_cast<std::size_t>(n)].caption
                            : st->values.items[static_cast<std::size_t>(n)].caption;
    try {
        ReadSavedTable(*source, path, loaded, progress);
    } catch (const std::bad_alloc&) {
        throw ReadErrorBecause(path, Tr("メモリが足りません"));
    }
    if (!iniPath.empty()) {
        result.applySettings = [st](Workspace& ws) {
            // The settings reach the workspace; the table they would also touch is the
            // one about to be replaced, and the loaded one already has them.
            const std::string fontName = ws.table.FontName;
            const int fontSize = ws.table.FontSize;
            const auto items = ws.table.ItemBoxes;
            ApplySettings(ws, *st);
            ws.table.FontName = fontName;
            ws.table.FontSize = fontSize;
            ws.table.ItemBoxes = items;
        };
    }
    return result;
}

void Workspace::TakeLoadedSettings(LoadedTable& loaded) {
    if (loaded.applySettings) loaded.applySettings(*this);
    settingsProblem = loaded.settingsProblem;
}

std::string CompanionIniPath(const std::string& tablePath) {
    if (tablePath.empty()) return {};
    fs::path p = tablePath;
    if (IsCompressedName(tablePath)) p.replace_extension();  // "t.vtb.gz", "t.vtb.zst" -> "t.vtb"
    p.replace_extension(".ini");
    const std::string found = FindFileAnyCase(p.string());
    std::error_code ec;
    return !found.empty() && fs::is_regular_file(found, ec) ? found : std::string();
}

std::string DefaultIniPath(const std::string& programPath) {
    fs::path p = programPath;
    p.replace_extension(".ini");
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    std::error_code ec;
    const bool installed = fs::is_directory(folder / ".." / "share" / "tavik", ec);
    if (!installed && ::access(folder.c_str(), W_OK) == 0) return p.string();
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) config = fs::path(home) / ".config";
    else return p.string();
    return (config / "tavik" / "tavik.ini").string();
}

}  // namespace tavik
