#include "formats/freq_table_files.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>
#include <unordered_map>

#include "core/cp932_width.h"
#include "core/headings.h"
#include "core/messages.h"
#include "core/table_fidelity.h"
#include "formats/codec.h"
#include "formats/csv_field.h"
#include "formats/file_error.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

constexpr const char* kEol = "\r\n";
constexpr int kMergedValueWidth = 36;

std::runtime_error LineError(const std::string& fileName, std::size_t line, const std::string& what) {
    return std::runtime_error(Arg(Tr("%1: %2"), {FileLine(fileName, line), what}));
}

void CheckSize(const std::string& fileName, std::size_t line, long long cols, long long rows) {
    if (cols > kMaxFreqColumns)
        throw LineError(fileName, line,
                        Arg(Tr("%1 列あります。読み込める表は %2 列までです"),
                            {std::to_string(cols), std::to_string(kMaxFreqColumns)}));
    if (cols * rows > kMaxFreqCells) throw LineError(fileName, line, Tr("表が大きすぎます"));
}

// Fixed rows and columns need a scrolling row and column beside them.
void ClampFixed(FreqTable& t) {
    t.fixedRows = std::clamp(t.fixedRows, 0, t.RowCount() - 1);
    t.fixedCols = std::clamp(t.fixedCols, 0, t.ColCount() - 1);
}

}  // namespace

std::string CsvField(const std::string& text, bool always) {
    bool quote = always || (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == ',' || c == '"' || c == '~') quote = true;
    }
    return quote ? CsvQuoted(text) : text;
}

bool CsvRecordReader::Next(std::vector<std::string>& fields) {
    fields.clear();
    if (!lines_.Next(line_)) return false;
    first_ = lines_.LineNumber();
    std::size_t k = 0;
    for (;;) {
        std::string field;
        if (k < line_.size() && line_[k] == '"') {
            ++k;
            for (;;) {
                if (k >= line_.size()) {
                    // A quoted field goes on over the line end, which it keeps as it is.
                    field += lines_.LineEnd();
                    if (!lines_.Next(line_)) throw LineError(name_, first_, Tr("引用符 \" が閉じられていません"));
                    k = 0;
                    continue;
                }
                if (line_[k] == '"') {
                    if (k + 1 < line_.size() && line_[k + 1] == '"') {
                        field += '"';
                        k += 2;
                        continue;
                    }
                    ++k;
                    break;
                }
                field += line_[k++];
            }
            // Text after the closing quote belongs to the field, as spreadsheets read it.
            while (k < line_.size() && line_[k] != ',') field += line_[k++];
        } else {
            while (k < line_.size() && line_[k] != ',') field += line_[k++];
        }
        fields.push_back(std::move(field));
        if (k >= line_.size()) break;
        ++k;  // the comma: another field follows, empty when the line ends here
    }
    return true;
}

bool IsSynopticTable(const FreqTable& t) { return t.HasRowBlocks() && t.ColCount() > 1; }

std::string ShortDateToday() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y/%m/%d", &tm);
    return buf;
}

std::string FreqTableTextLines(const FreqTable& t, const std::string& date) {
    // `where` names the text, and is put into words only when the text cannot be written.
    const auto checkLine = [](const std::string& text, const auto& where) {
        if (text.find_first_of("\r\n") != std::string::npos)
            throw std::runtime_error(
                Arg(Tr("%1に改行があります。テキスト形式には書けません（CSV で書き出してください）"), {where()}));
    };
    checkLine(t.caption, [] { return std::string(Tr("表題")); });
    std::string s = std::string("#T") + kEol + date + kEol + t.caption + kEol;
    for (int j = 1; j < t.ColCount(); ++j) {
        s += std::string("#S") + kEol;
        for (int r = 0; r < t.RowCount(); ++r) {
            const std::string& cell = t.Text(j, r);
            if (cell.empty() || cell == "・") continue;  // data, not interface
            const std::string& label = t.Text(0, r);
            checkLine(label, [&] { return Arg(Tr("%1 行目の見出し"), {std::to_string(r + 1)}); });
            checkLine(cell, [&] {
                return Arg(Tr("%1 行 %2 列目のセル"), {std::to_string(r + 1), std::to_string(j + 1)});
            });
            // A label that holds a comma, or that would read as a block mark or a quoted
            // field, is quoted; the value runs to the end of the line as it is.
            const bool quote =
                label.find(',') != std::string::npos || label.rfind('#', 0) == 0 || label.rfind('"', 0) == 0;
            s += (quote ? CsvField(label, true) : label) + "," + cell + kEol;
        }
        s += std::string("#E") + kEol + kEol;
    }
    return s;
}

std::string FreqTableCsvLines(const FreqTable& t) {
    // The caption is the whole first line; only one that cannot stand there bare is quoted.
    const bool quoteCaption = t.caption.find_first_of("\r\n") != std::string::npos || t.caption.rfind('"', 0) == 0;
    std::string s = (quoteCaption ? CsvField(t.caption, true) : t.caption) + kEol;
    if (IsSynopticTable(t)) {
        // The classes, then phi × 100 per group in columns of its own, then the groups for
        // which the species is diagnostic (the shaded cells).
        const int groups = t.ColCount() - 1;
        std::string cls, phi;
        for (int r = 0; r < t.RowCount(); ++r) {
            const bool heading = r < t.fixedRows;
            std::string phis, diagnostic;
            s += CsvField(t.Text(0, r));
            for (int c = 1; c <= groups; ++c) {
                SplitSynopticCell(t.Text(c, r), cls, phi);
                s += ',' + CsvField(cls);
                phis += ',';
                if (r == 0) phis += CsvField(t.Text(c, 0) + HeadingText(Heading::PhiTimes100));
                else if (!heading) phis += CsvField(phi);
                if (!heading && t.Shade(c, r) > 0) diagnostic += (diagnostic.empty() ? "" : " ") + t.Text(c, 0);
            }
            s +=
                phis + ',' + CsvField(r == 0 ? std::string(HeadingText(Heading::DiagnosticGroups)) : diagnostic) + kEol;
        }
        return s;
    }
    for (int r = 0; r < t.RowCount(); ++r) {
        for (int c = 0; c < t.ColCount(); ++c) {
            if (c > 0) s += ',';
            s += CsvField(t.Text(c, r));
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

std::string EncodeFreqTableFile(const std::string& lines, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return "\xEF\xBB\xBF" + lines;
    return EncodeTextFile(lines);
}

void WriteFreqTableText(const std::string& path, const FreqTable& t, const std::string& date,
                        AtomicFile::ReadOnlyTarget readOnly, TextEncoding encoding) {
    WriteFileAtomic(path, EncodeFreqTableFile(FreqTableTextLines(t, date), encoding), readOnly);
}

void WriteFreqTableCsv(const std::string& path, const FreqTable& t, AtomicFile::ReadOnlyTarget readOnly,
                       TextEncoding encoding) {
    WriteFileAtomic(path, EncodeFreqTableFile(FreqTableCsvLines(t), encoding), readOnly);
}

namespace {

// Every line once: a line that does not decode is reported before anything else, wherever
// it stands; then the file is read again from its start.
std::size_t CheckedLineCount(TextLineFile& file) {
    std::string line;
    std::size_t n = 0;
    while (file.Next(line)) ++n;
    file.Rewind();
    return n;
}

void ReadFreqTableCsvLines(TextLineFile& file, const std::string& fileName, FreqTable& t) {
    const std::size_t lineCount = CheckedLineCount(file);
    if (lineCount == 0)
        throw LineError(fileName, 1, Tr("空のファイルです（1 行目に表題、2 行目から表の行が要ります）"));
    if (lineCount < 2) throw LineError(fileName, 2, Tr("表の行がありません"));
    CsvRecordReader records(file, fileName);
    std::vector<std::string> fields;
    std::string caption;
    file.Next(caption);
    if (caption.rfind('"', 0) == 0) {
        // A quoted caption (the writer quotes one with a line end in it); a first line that
        // only begins with a quote is taken as it stands.
        bool quoted = false;
        file.Rewind();
        try {
            quoted = records.Next(fields) && fields.size() == 1;
        } catch (const std::runtime_error&) {
        }
        if (quoted) {
            caption = std::move(fields[0]);
        } else {
            file.Rewind();
            file.Next(caption);
        }
    }
    const std::size_t captionLines = file.LineNumber();
    if (captionLines >= lineCount) throw LineError(fileName, captionLines + 1, Tr("表の行がありません"));
    // Each row holds at least a line, so the lines left bound the rows before they are read.
    const long long physicalRows = static_cast<long long>(lineCount - captionLines);
    std::vector<std::vector<std::string>> cells;
    long long cols = 1;
    while (records.Next(fields)) {
        cols = std::max<long long>(cols, static_cast<long long>(fields.size()));
        CheckSize(fileName, records.FirstLine(), cols, physicalRows);
        cells.push_back(std::move(fields));
    }
    const long long rows = static_cast<long long>(cells.size());
    FreqTable n = t;
    n.caption = std::move(caption);
    n.Resize(static_cast<int>(cols), static_cast<int>(rows));
    n.Clear();
    for (std::size_t r = 0; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            n.SetText(static_cast<int>(c), static_cast<int>(r), std::move(cells[r][c]));
    ClampFixed(n);
    t = std::move(n);
}

void MergeFreqTableTextLines(TextLineFile& file, const std::string& fileName, FreqTable& t) {
    CheckedLineCount(file);
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
    // One value per cell: a label given twice in a block keeps its last value.
    std::vector<Value> values;
    std::unordered_map<int, std::size_t> valueOfRow;  // in the block being read
    int newCols = 0;
    // A mark is a line that begins with "#" and has no comma: a value line always has one
    // (a label that begins with "#" is written quoted).
    const auto isMark = [](const std::string& s) {
        return !s.empty() && s[0] == '#' && s.find(',') == std::string::npos;
    };
    const auto markIs = [](const std::string& s, const char* m) {
        return s.rfind(m, 0) == 0 && s.find_first_not_of(" \t", 2) == std::string::npos;
    };
    std::string line;
    bool more = file.Next(line);
    // "#T", the date and the caption come first; the caption may look like anything.
    if (more && markIs(line, "#T"))
        for (int k = 0; k < 3 && more; ++k) more = file.Next(line);
    while (more) {
        while (more && !(isMark(line) && line.rfind("#S", 0) == 0)) more = file.Next(line);
        if (!more) break;
        const std::size_t start = file.LineNumber();
        more = file.Next(line);
        const int col = cols + newCols++;
        CheckSize(fileName, start, col + 1, rows + static_cast<long long>(newLabels.size()));
        valueOfRow.clear();
        for (; more && !isMark(line); more = file.Next(line)) {
            if (line.empty()) continue;  // the writer never leaves one inside a block
            const std::size_t at = file.LineNumber();
            std::string label, value;
            const std::size_t comma = line.find(',');
            if (line[0] == '"') {
                // A quoted label: up to its closing quote, which a comma must follow.
                std::size_t p = 1;
                bool closed = false;
                while (p < line.size()) {
                    if (line[p] == '"') {
                        if (p + 1 < line.size() && line[p + 1] == '"') {
                            label += '"';
                            p += 2;
                            continue;
                        }
                        closed = true;
                        ++p;
                        break;
                    }
                    label += line[p++];
                }
                if (!closed || p >= line.size() || line[p] != ',')
                    throw LineError(fileName, at, Tr("引用符で囲まれた名前の後に \",\" がありません"));
                value = line.substr(p + 1);
            } else {
                label = comma == std::string::npos ? std::string() : line.substr(0, comma);
                value = comma == std::string::npos ? line : line.substr(comma + 1);
            }
            auto it = rowOf.find(label);
            if (it == rowOf.end()) {
                const int row = rows + static_cast<int>(newLabels.size());
                CheckSize(fileName, at, col + 1, row + 1LL);
                it = rowOf.emplace(label, row).first;
                newLabels.push_back(label);
            }
            std::string text(Cp932Cut(value, kMergedValueWidth));
            const auto [slot, fresh] = valueOfRow.emplace(it->second, values.size());
            if (fresh) values.push_back({col, it->second, std::move(text)});
            else values[slot->second].text = std::move(text);
        }
        // Only "#E" closes a block: a block cut short would hand its values, or the next
        // block's, to the wrong column.
        if (!more)
            throw LineError(fileName, start,
                            Tr("#S で始まるブロックが #E で閉じられていません（ファイルの終わりまで）"));
        if (!markIs(line, "#E"))
            throw LineError(fileName, file.LineNumber(),
                            Arg(Tr("#S で始まるブロック（%1 行目）が #E の前に \"%2\" で終わっています"),
                                {std::to_string(start), Cp932Cut(line, 16)}));
        more = file.Next(line);
    }
    n.Resize(cols + newCols, rows + static_cast<int>(newLabels.size()));
    for (std::size_t k = 0; k < newLabels.size(); ++k) n.SetText(0, rows + static_cast<int>(k), newLabels[k]);
    for (auto& v : values) n.SetText(v.col, v.row, std::move(v.text));
    ClampFixed(n);
    t = std::move(n);
}

}  // namespace

void ReadFreqTableCsvBytes(std::string_view bytes, const std::string& fileName, FreqTable& t) {
    TextLineFile file(bytes, fileName);
    ReadFreqTableCsvLines(file, fileName, t);
}

void ReadFreqTableCsv(const std::string& path, FreqTable& t) {
    TextLineFile file(path);
    ReadFreqTableCsvLines(file, path, t);
}

void MergeFreqTableTextBytes(std::string_view bytes, const std::string& fileName, FreqTable& t) {
    TextLineFile file(bytes, fileName);
    MergeFreqTableTextLines(file, fileName, t);
}

void MergeFreqTableText(const std::string& path, FreqTable& t) {
    TextLineFile file(path);
    MergeFreqTableTextLines(file, path, t);
}

std::vector<std::string> FreqTablePrintLines(const FreqTable& t, bool constancyLayout, int pageWidth) {
    std::vector<std::string> out;
    out.push_back(t.caption);
    const auto cell = [&](int c, int r) -> std::string { return c < t.ColCount() ? t.Text(c, r) : std::string(); };
    const auto leftPad = [](const std::string& s, int width) {
        const int w = Cp932Width(s);
        return w < width ? std::string(static_cast<std::size_t>(width - w), ' ') + s : s;
    };
    if (constancyLayout) {
        const int w1 = t.ColCount() > 1 ? t.ColWidth(1) : 0;
        const int cellWidth = t.printCellWidth > 0 ? t.printCellWidth : (w1 <= 0 || t.ColWidth(0) / w1 <= 5) ? 7 : 3;
        // Groups in blocks as wide as the page, each beside the names; a block that does not
        // end the table is followed by a new page.
        const int perBlock = pageWidth > 0 ? std::max(1, (pageWidth - 28) / cellWidth) : std::max(1, t.ColCount() - 1);
        for (int c0 = 1; c0 < t.ColCount() || c0 == 1; c0 += perBlock) {
            if (c0 > 1) {
                out.push_back("\f");
                out.push_back("続き");  // data, not interface
            }
            const int c1 = std::min(t.ColCount(), c0 + perBlock);
            for (int r = 0; r < t.RowCount(); ++r) {
                std::string line = Cp932Fit(cell(0, r), 28);
                for (int c = c0; c < c1; ++c) line += Cp932Fit(cell(c, r), cellWidth);
                out.push_back(std::move(line));
            }
        }
    } else {
        for (int r = 0; r < t.RowCount(); ++r)
            out.push_back(Cp932Fit(cell(0, r), 28) + leftPad(std::string(Cp932Cut(cell(1, r), 7)), 5) + "   " +
                          Cp932Fit(cell(3, r), 7) + leftPad(std::string(Cp932Cut(cell(4, r), 7)), 5));
    }
    return out;
}

}  // namespace tavik
