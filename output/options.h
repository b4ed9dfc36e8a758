// What every output of the composition table is told: which command, which header items,
// which species rows and relevé columns, the title and the extras. A front end fills one
// OutputOptions (the output panel from its controls, tavik-cli from its flags) and passes
// it with the table to one output operation.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/table.h"
#include "formats/atomic_file.h"
#include "formats/codec.h"

namespace tavik {

struct Settings;

// The commands that the output panel serves. The numbers are those the panel and the
// settings have always used.
enum class OutputMode : int {
    Text = 0,              // 表をテキスト出力
    Spreadsheet = 1,       // エクセル形式出力
    Print = 2,             // 組成表を直接印刷
    SimplePrint = 3,       // 表を省略簡易印刷
    ValueMatrix = 4,       // 数値表として出力する
    PCordMatrix = 5,       // PCord 用のCSV型出力
    ItemConfiguration = 6  // 表組み項目の変更
};

inline constexpr int kConversionMethods = 7;

struct OutputOptions {
    OutputMode mode = OutputMode::Text;
    // Header items chosen for output, 1..30 (entry 0 unused). A tick counts only for an
    // item that has a header row in the table.
    std::array<bool, kItemCount + 1> items{};
    // Species row positions and relevé column positions, both inclusive, counted from 1.
    // A first position above the last one is allowed: the outputs then write their
    // headings and no rows or columns.
    int speciesFrom = 1, speciesTo = 0;
    int releveFrom = 1, releveTo = 0;
    std::string title;
    bool frequency = false;                      // 出現頻度: the frequency column
    bool onceSpecies = false;                    // 出現１回の種: the list of species that occur once
    int direction = 0;                           // value matrix: 0 rows = species, 1 rows = relevés
    int method = 1;                              // cover conversion 0..6 of the numeric matrices
    std::string layerLabels = "T1T2S1S2H1H2 M";  // seven labels of two characters
    std::string fontName = "ＭＳ 明朝";          // data, not interface: the printed outputs' font

    int fontSize = 9;
    // A read-only file of the chosen name is replaced only when the user said so.
    bool replaceReadOnly = false;
    // Text and CSV files: CP932 (UTF-8 only when some text has no CP932 form), or UTF-8
    // with a BOM by choice.
    TextEncoding encoding = TextEncoding::Cp932;
};

// The heading the output panel shows for a mode ("組成表テキスト出力、項目選択と表題修正" ...);
// the configuration heading for mode 6. Like the captions below, the source text: shown
// through Tr().
const char* OutputModeHeading(OutputMode mode);
// The captions of the conversion methods 0..6 and of the two directions.
const std::array<const char*, kConversionMethods>& ConversionMethodCaptions();
const std::array<const char*, 2>& DirectionCaptions();

// A spin edit's value limited to 1..count (as the panel's spin edits limit it). With no
// rows or columns at all the range is empty: first 1, last 0.
int ClampPosition(int value, int count);
// Both ends of the options' ranges clamped into the table; a first position above the
// last one stays so.
void ClampRanges(OutputOptions& o, const Table& t);

// The options as the output panel starts them for `mode`: every item that has a header row
// is ticked, the ranges cover the whole table, the title is the table's, and the check
// boxes, direction and method come from the settings; the font is the output font. The
// table is only read: the front end has recounted it before.
OutputOptions OutputOptionsFor(OutputMode mode, const Table& t, const Settings& s);

// The font of the printed outputs: the output font once the user chose one, else the
// table's. Reading it changes nothing in the table.
struct PrintFont {
    std::string name;
    int size = 9;
};
PrintFont PrintFontOf(const Table& t, const Settings& s);

// Whether `o` ticks item n and the table has a row for it.
bool ItemChosen(const Table& t, const OutputOptions& o, int item);

// How an output replaces a read-only file of the chosen name.
inline AtomicFile::ReadOnlyTarget Target(const OutputOptions& o) {
    return o.replaceReadOnly ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse;
}

// ---- Output files ----------------------------------------------------------------------

enum class OutputFileKind { Text, Spreadsheet, ValueMatrix, PCordMatrix, SiteData, GpsPoints, MeshData };

// The save dialog's filters, numbered from 1 as the dialog counts them; the descriptions
// are shown through Tr().

struct FileFilter {
    const char* description;  // "組成表テキストファイル(*.txt)"
    const char* pattern;      // "*.txt"
};
const std::array<FileFilter, 6>& SaveDialogFilters();

// How the output-file prompt runs for one kind of output.
struct OutputFileRule {
    int filter;                 // 1-based index into SaveDialogFilters()
    const char* defaultSuffix;  // the dialog's default extension ("txt"), or "" for none
    const char* nameSuffix;     // appended to the title for the suggested name (".txt")
    bool askBeforeOverwrite;    // "同名のファイルが存在します。書き換えますか？"
};
const OutputFileRule& OutputFileRuleOf(OutputFileKind kind);

// The file name the prompt suggests: the title followed by the kind's suffix. A "/" in the
// title (which would name a folder) becomes "_".
std::string SuggestedOutputName(const std::string& title, OutputFileKind kind);
// The species list that goes beside a PCord matrix: the same path with ".lst" for its
// extension.
std::string SpeciesListPath(const std::string& matrixPath);
// True when a matrix name ends in ".lst" (in any case): its list would overwrite it.
bool NamesSpeciesList(const std::string& matrixPath);

// The question before a file of the same name is replaced; shown through Tr().
inline constexpr const char* kOverwriteQuestion = TrNoop("同名のファイルが存在します。書き換えますか？");

// ---- Site exports ----------------------------------------------------------------------

// Shown through Tr().
inline constexpr const char* kNoOutputDataMessage = TrNoop("必要なデータが表にありません");

// The header items each site export needs: none for the site data, 5, 6 and 8 for the GPS
// points, 7 and 8 for the mesh data.
enum class SiteExport { SiteData, GpsPoints, MeshData };
const std::vector<int>& ItemsNeededBy(SiteExport what);
// True when the table has a header row for every item `what` needs; otherwise the front
// end shows kNoOutputDataMessage and writes nothing.
bool HasItemsFor(const Table& t, SiteExport what);

}  // namespace tavik
