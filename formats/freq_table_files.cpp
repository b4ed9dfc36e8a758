#include "formats/freq_table_files.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>
#include <unordered_map>

#include "core/cp932_width.h"
#include "formats/codec.h"
#include "formats/file_bytes.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

constexpr const char* kEol = "\r\n";
constexpr int kMergedValueWidth = 36;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::runtime_error LineError(const std::string& fileName, std::size_t line, const std::string& what) {
    return std::runtime_error(fileName + " の " + std::to_string(line) + " 行目: " + what);
}

void CheckSize(const std::string& fileName, std::size_t line, long long cols, long long rows) {
    if (cols > kMaxFreqColumns)
        throw LineError(fileName, line,
                        std::to_string(cols) + " 列あります。読み込める表は " + std::to_string(kMaxFreqColumns) + " 列までです");
    if (cols * rows > kMaxFreqCells) throw LineError(fileName, line, "表が大きすぎます");
}

// Fixed rows and columns need a scrolling row and column beside them.
void ClampFixed(FreqTable& t) {
    t.fixedRows = std::clamp(t.fixedRows, 0, t.RowCount() - 1);
    t.fixedCols = std::clamp(t.fixedCols, 0, t.ColCount() - 1);
}

}  // namespace

std::string ShortDateToday() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y/%m/%d", &tm);
    return buf;
}

std::string FreqTableTextLines(const FreqTable& t, const std::string& date) {
    std::string s = std::string("#T") + kEol + date + kEol + t.caption + kEol;
    for (int j = 1; j < t.ColCount(); ++j) {
        s += std::string("#S") + kEol;
        for (int r = 0; r < t.RowCount(); ++r) {
            const std::string& cell = t.Text(j, r);
            if (cell.empty() || cell == "・") continue;
            s += t.Text(0, r) + "," + cell + kEol;
        }
        s += std::string("#E") + kEol + kEol;
    }
    return s;
}

std::string FreqTableCsvLines(const FreqTable& t) {
    std::string s = t.caption + kEol;
    for (int r = 0; r < t.RowCount(); ++r) {
        for (int c = 0; c < t.ColCount(); ++c) {
            if (c > 0) s += ',';
            s += t.Text(c, r);
        }
        s += kEol;
    }
    return s;
}

std::string FreqTableClipboardText(const FreqTable& t) {
    std::string s;
    for (int r = 0; r < t.RowCount(); ++r) {
        s += t.Text(0, r);
        for (int c = 1; c < t.ColCount(); ++c) s += "\t" + t.Text(c, r);
        s += kEol;
    }
    return s;
}

std::string EncodeFreqTableFile(const std::string& lines) { return EncodeTextFile(lines); }

void WriteFreqTableText(const std::string& path, const FreqTable& t, const std::string& date,
                        AtomicFile::ReadOnlyTarget readOnly) {
    WriteFileAtomic(path, EncodeFreqTableFile(FreqTableTextLines(t, date)), readOnly);
}

void WriteFreqTableCsv(const std::string& path, const FreqTable& t, AtomicFile::ReadOnlyTarget readOnly) {
    WriteFileAtomic(path, EncodeFreqTableFile(FreqTableCsvLines(t)), readOnly);
}

std::vector<std::string> SplitCommaText(std::string_view s) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < s.size() && IsBlank(s[i])) ++i;
    };
    skipBlanks();
    while (i < s.size()) {
        std::string field;
        if (s[i] == '"') {
            ++i;
            while (i < s.size()) {
                if (s[i] == '"') {
                    if (i + 1 < s.size() && s[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += s[i++];
            }
        } else {
            while (i < s.size() && s[i] != ',' && !IsBlank(s[i])) field += s[i++];
        }
        fields.push_back(std::move(field));
        skipBlanks();
        if (i < s.size() && s[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    return fields;
}

namespace {

// Line by line, so that memory follows the cells, not the lines of the file.
void ReadFreqTableCsvLines(TextLineFile& lines, const std::string& fileName, FreqTable& t) {
    std::string caption, line;
    if (!lines.Next(caption)) throw LineError(fileName, 1, "空のファイルです（1 行目に表題、2 行目から表の行が要ります）");
    std::vector<std::vector<std::string>> cells;
    long long cols = 1;
    while (lines.Next(line)) {
        // Spaces inside cells must not split them: they travel as "~".
        std::replace(line.begin(), line.end(), ' ', '~');
        std::vector<std::string> fields = SplitCommaText(line);
        for (auto& f : fields) std::replace(f.begin(), f.end(), '~', ' ');
        cols = std::max<long long>(cols, static_cast<long long>(fields.size()));
        CheckSize(fileName, lines.LineNumber(), cols, static_cast<long long>(cells.size()) + 1);
        cells.push_back(std::move(fields));
    }
    if (cells.empty()) throw LineError(fileName, 2, "表の行がありません");
    const long long rows = static_cast<long long>(cells.size());
    FreqTable n = t;
    n.caption = caption;
    n.Resize(static_cast<int>(cols), static_cast<int>(rows));
    n.Clear();
    for (std::size_t r = 0; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            n.SetText(static_cast<int>(c), static_cast<int>(r), std::move(cells[r][c]));
    ClampFixed(n);
    t = std::move(n);
}

}  // namespace

void ReadFreqTableCsvBytes(std::string_view bytes, const std::string& fileName, FreqTable& t) {
    TextLineFile lines(bytes, fileName);
    ReadFreqTableCsvLines(lines, fileName, t);
}

void ReadFreqTableCsv(const std::string& path, FreqTable& t) {
    TextLineFile lines(path);
    ReadFreqTableCsvLines(lines, path, t);
}

namespace {

void MergeFreqTableTextLines(TextLineFile& lines, const std::string& fileName, FreqTable& t) {
    FreqTable n = t;
    int cols = n.ColCount(), rows = n.RowCount();
    while (cols > 1 && n.Text(cols - 1, 0).empty()) --cols;
    while (rows > 1 && n.Text(0, rows - 1).empty()) --rows;
    n.Resize(cols, rows);

    // Labels live in column 0; the first row of a label takes its values. New rows and
    // columns are gathered first and laid into the table once at the end.
    std::unordered_map<std::string, int> rowOf;
    for (int r = rows - 1; r >= 0; --r) rowOf[n.Text(0, r)] = r;
    std::vector<std::string> newLabels;
    struct Value {
        int col, row;
        std::string text;
    };
    std::vector<Value> values;
    int newCols = 0;
    const auto startsWith = [](const std::string& s, const char* p) { return s.rfind(p, 0) == 0; };
    std::string line;
    int col = -1;  // the column of the block being read, -1 between blocks
    while (lines.Next(line)) {
        const std::size_t number = lines.LineNumber();
        if (col < 0) {
            if (!startsWith(line, "#S")) continue;
            col = cols + newCols++;
            CheckSize(fileName, number, col + 1, rows + static_cast<long long>(newLabels.size()));
            continue;
        }
        // The line that ends the block ("#E", or "#S" ending it early) is taken with it.
        if (startsWith(line, "#")) {
            col = -1;
            continue;
        }
        if (line.empty()) continue;  // the writer never leaves one inside a block
        const std::size_t comma = line.find(',');
        const std::string label = comma == std::string::npos ? std::string() : line.substr(0, comma);
        const std::string value = comma == std::string::npos ? line : line.substr(comma + 1);
        auto it = rowOf.find(label);
        if (it == rowOf.end()) {
            const int row = rows + static_cast<int>(newLabels.size());
            CheckSize(fileName, number, col + 1, row + 1LL);
            it = rowOf.emplace(label, row).first;
            newLabels.push_back(label);
        }
        values.push_back({col, it->second, std::string(Cp932Cut(value, kMergedValueWidth))});
    }
    n.Resize(cols + newCols, rows + static_cast<int>(newLabels.size()));
    for (std::size_t k = 0; k < newLabels.size(); ++k) n.SetText(0, rows + static_cast<int>(k), newLabels[k]);
    for (auto& v : values) n.SetText(v.col, v.row, std::move(v.text));
    ClampFixed(n);
    t = std::move(n);
}

}  // namespace

void MergeFreqTableTextBytes(std::string_view bytes, const std::string& fileName, FreqTable& t) {
    TextLineFile lines(bytes, fileName);
    MergeFreqTableTextLines(lines, fileName, t);
}

void MergeFreqTableText(const std::string& path, FreqTable& t) {
    TextLineFile lines(path);
    MergeFreqTableTextLines(lines, path, t);
}

std::vector<std::string> FreqTablePrintLines(const FreqTable& t, bool constancyLayout) {
    std::vector<std::string> out;
    out.push_back(t.caption);
    const auto cell = [&](int c, int r) -> std::string { return c < t.ColCount() ? t.Text(c, r) : std::string(); };
    const auto leftPad = [](std::string s, int width) {
        const int w = Cp932Width(s);
        return w < width ? std::string(static_cast<std::size_t>(width - w), ' ') + s : s;
    };
    if (constancyLayout) {
        const int w1 = t.ColCount() > 1 ? t.ColWidth(1) : 0;
        const int cellWidth = t.printCellWidth > 0 ? t.printCellWidth : (w1 <= 0 || t.ColWidth(0) / w1 <= 5) ? 7 : 3;
        for (int r = 0; r < t.RowCount(); ++r) {
            std::string line = Cp932Fit(cell(0, r), 28);
            for (int c = 1; c < t.ColCount(); ++c) line += Cp932Fit(cell(c, r), cellWidth);
            out.push_back(std::move(line));
        }
    } else {
        for (int r = 0; r < t.RowCount(); ++r)
            out.push_back(Cp932Fit(cell(0, r), 28) + leftPad(std::string(Cp932Cut(cell(1, r), 7)), 5) + "   " +
                          Cp932Fit(cell(3, r), 7) + leftPad(std::string(Cp932Cut(cell(4, r), 7)), 5));
    }
    return out;
}

}  // namespace tavik
