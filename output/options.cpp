#include "output/options.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/covers.h"
#include "core/messages.h"
#include "formats/workspace.h"

namespace tavik {

const char* OutputModeHeading(OutputMode mode) {
    switch (mode) {
        case OutputMode::Text: return TrNoop("組成表テキスト出力、項目選択と表題修正");
        case OutputMode::Spreadsheet: return TrNoop("組成表エクセル出力、項目選択と表題修正");
        case OutputMode::Print: return TrNoop("組成表を印刷出力、項目選択と表題修正");
        case OutputMode::SimplePrint: return TrNoop("組成表の簡易印刷、項目選択と表題修正");
        case OutputMode::ValueMatrix: return TrNoop("数値表をCSV形式で出力");
        case OutputMode::PCordMatrix: return TrNoop("PCord用の数値表をCSV出力");
        case OutputMode::ItemConfiguration: return TrNoop("項目組込は左、名称修正は右クリック");
    }
    return "";
}

const std::array<const char*, kConversionMethods>& ConversionMethodCaptions() {
    static const std::array<const char*, kConversionMethods> k = {
        TrNoop("級値・積算 (0.1-5)"), TrNoop("級値・相対 (1-10)"),  TrNoop("中央・積算 (1-875)"),
        TrNoop("級値・最大 (0.1-5)"), TrNoop("中央・最大 (1-875)"), TrNoop("無変・最大 (+-5)"),
        TrNoop("有無のみ （1,0）")};
    return k;
}

const std::array<const char*, 2>& DirectionCaptions() {
    static const std::array<const char*, 2> k = {TrNoop("行 ＝ 植物"), TrNoop("行 ＝ 測定")};
    return k;
}

int ClampPosition(int value, int count) {
    if (count < 1) return 1;
    return std::clamp(value, 1, count);
}

void ClampRanges(OutputOptions& o, const Table& t) {
    const auto clamp = [](int& from, int& to, int count) {
        if (count < 1) {
            from = 1;
            to = 0;
            return;
        }
        from = std::clamp(from, 1, count);
        to = std::clamp(to, 1, count);
    };
    clamp(o.speciesFrom, o.speciesTo, t.SpeciesCount());
    clamp(o.releveFrom, o.releveTo, t.ReleveCount());
}

OutputOptions OutputOptionsFor(OutputMode mode, const Table& t, const Settings& s) {
    OutputOptions o;
    o.mode = mode;
    for (int n = 1; n <= kItemCount; ++n) o.items[static_cast<std::size_t>(n)] = t.HeaderRowOfItem(n) > 0;
    o.speciesFrom = 1;
    o.speciesTo = t.SpeciesCount();
    o.releveFrom = 1;
    o.releveTo = t.ReleveCount();
    ClampRanges(o, t);
    o.title = t.TableTitle;
    o.frequency = s.frequency;
    o.onceSpecies = s.oneTime;
    o.direction = s.direction == 1 ? 1 : 0;
    o.method = s.cvMethod >= 0 && s.cvMethod < kConversionMethods ? s.cvMethod : 1;
    o.layerLabels = s.kaisou;
    o.encoding = s.utf8Files ? TextEncoding::Utf8 : TextEncoding::Cp932;
    const PrintFont font = PrintFontOf(t, s);
    o.fontName = font.name;
    o.fontSize = font.size;
    return o;
}

PrintFont PrintFontOf(const Table& t, const Settings& s) {
    if (s.outputFontName.empty()) return {t.FontName, t.FontSize};
    return {s.outputFontName, s.outputFontSize > 0 ? s.outputFontSize : t.FontSize};
}

bool ItemChosen(const Table& t, const OutputOptions& o, int item) {
    if (item < 1 || item > kItemCount) return false;
    return o.items[static_cast<std::size_t>(item)] && t.HeaderRowOfItem(item) > 0;
}

const std::array<FileFilter, 6>& SaveDialogFilters() {
    static const std::array<FileFilter, 6> k = {{
        {TrNoop("組成表で保存 (*.vtb)"), "*.vtb"},
        {TrNoop("組成表テキストファイル(*.txt)"), "*.txt"},
        {TrNoop("組成のマトリクスデータ(*.csv)"), "*.csv"},
        {TrNoop("エクセル・ファイル(*.xlsx)"), "*.xlsx"},
        {TrNoop("GPS　POTデータ　(*.pot)"), "*.pot"},
        {TrNoop("メッシュ分布データ (*.grd)"), "*.grd"},
    }};
    return k;
}

const OutputFileRule& OutputFileRuleOf(OutputFileKind kind) {
    static const OutputFileRule kText{2, "txt", ".txt", true};
    static const OutputFileRule kSheet{4, "xlsx", ".xlsx", true};
    static const OutputFileRule kValue{3, "csv", "-vm.csv", true};
    static const OutputFileRule kPCord{3, "csv", "-pcm.csv", true};
    static const OutputFileRule kSite{3, "csv", "-plot.csv", false};
    static const OutputFileRule kGps{5, "", ".pot", false};
    static const OutputFileRule kMesh{6, "", ".grd", false};
    switch (kind) {
        case OutputFileKind::Text: return kText;
        case OutputFileKind::Spreadsheet: return kSheet;
        case OutputFileKind::ValueMatrix: return kValue;
        case OutputFileKind::PCordMatrix: return kPCord;
        case OutputFileKind::SiteData: return kSite;
        case OutputFileKind::GpsPoints: return kGps;
        case OutputFileKind::MeshData: return kMesh;
    }
    return kText;
}

std::string SuggestedOutputName(const std::string& title, OutputFileKind kind) {
    std::string name = title;
    std::replace(name.begin(), name.end(), '/', '_');
    return name + OutputFileRuleOf(kind).nameSuffix;
}

std::string SpeciesListPath(const std::string& matrixPath) {
    std::filesystem::path p = matrixPath;
    p.replace_extension(".lst");
    return p.string();
}

bool NamesSpeciesList(const std::string& matrixPath) {
    const std::string ext = std::filesystem::path(matrixPath).extension().string();
    return ext.size() == 4 && ext[0] == '.' && std::tolower(static_cast<unsigned char>(ext[1])) == 'l' &&
           std::tolower(static_cast<unsigned char>(ext[2])) == 's' &&
           std::tolower(static_cast<unsigned char>(ext[3])) == 't';
}

const std::vector<int>& ItemsNeededBy(SiteExport what) {
    static const std::vector<int> kNone, kGps{5, 6, 8}, kMesh{7, 8};
    switch (what) {
        case SiteExport::SiteData: return kNone;
        case SiteExport::GpsPoints: return kGps;
        case SiteExport::MeshData: return kMesh;
    }
    return kNone;
}

bool HasItemsFor(const Table& t, SiteExport what) {
    for (int n : ItemsNeededBy(what))
        if (t.HeaderRowOfItem(n) == 0) return false;
    return true;
}

}  // namespace tavik
