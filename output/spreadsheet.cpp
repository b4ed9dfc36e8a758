#include "output/spreadsheet.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>

#include "core/covers.h"
#include "core/messages.h"
#include "core/releve_tally.h"
#include "formats/file_error.h"
#include "output/layout_common.h"
#include "output/output_file.h"
#include "output/text_layout.h"

namespace tavik {

namespace {

constexpr double kLineHeight = 15.0;  // points, one line of the default sheet font

class Workbook {
public:
    Workbook(const std::string& path, const std::string& tmpPath) : path_(path) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;  // rows go to disk as they are made
        wb_ = workbook_new_opt(tmpPath.c_str(), &options);
        if (!wb_) Fail();
        ws_ = workbook_add_worksheet(wb_, nullptr);
        if (!ws_) Fail();
        top_ = workbook_add_format(wb_);
        format_set_align(top_, LXW_ALIGN_VERTICAL_TOP);
        wrapTop_ = workbook_add_format(wb_);
        format_set_align(wrapTop_, LXW_ALIGN_VERTICAL_TOP);
        format_set_text_wrap(wrapTop_);
        centre_ = workbook_add_format(wb_);
        format_set_align(centre_, LXW_ALIGN_CENTER);
        format_set_align(centre_, LXW_ALIGN_VERTICAL_TOP);
        format_set_text_wrap(centre_);
    }
    ~Workbook() {
        // A workbook that was not closed is dropped; its file goes with the temporary.
        if (wb_) workbook_close(wb_);
    }

    // Sheet rows and columns from 1, as the layout counts them.
    void Text(int row, int col, const std::string& s, lxw_format* f = nullptr) {
        if (s.empty() && !f) return;
        Check(worksheet_write_string(ws_, Row(row), Col(col), s.c_str(), f), row, col);
    }
    void Number(int row, int col, double v, lxw_format* f = nullptr) {
        Check(worksheet_write_number(ws_, Row(row), Col(col), v, f), row, col);
    }
    // A header value without its padding: a plain decimal number as a number, shown with
    // the decimals it was written with ("4.0" stays "4.0"), anything else as text.
    void Value(int row, int col, const std::string& s) {
        const std::string_view text = layout::Trim(s);
        double v = 0;
        int decimals = 0;
        if (PlainDecimalNumber(text, v, &decimals))
            Number(row, col, v, decimals > 0 ? DecimalFormat(decimals) : nullptr);
        else Text(row, col, std::string(text));
    }
    void RowHeight(int row, int lines) {
        if (lines > 1) worksheet_set_row(ws_, Row(row), kLineHeight * lines, nullptr);
    }
    void Widths(int lastColumn, bool frequency) {
        worksheet_set_column(ws_, 0, 0, 24, nullptr);
        worksheet_set_column(ws_, 1, 1, 4, nullptr);
        const int last = frequency ? lastColumn - 1 : lastColumn;
        if (last >= 3) worksheet_set_column(ws_, 2, static_cast<lxw_col_t>(last - 1), 5, nullptr);
        if (frequency) worksheet_set_column(ws_, Col(lastColumn), Col(lastColumn), 11, nullptr);
    }
    void Close() {
        lxw_workbook* wb = wb_;
        wb_ = nullptr;
        if (workbook_close(wb) != LXW_NO_ERROR) Fail();
    }

    lxw_format* DecimalFormat(int decimals) {
        decimals = std::min(decimals, 14);
        lxw_format*& f = decimalFormats_[static_cast<std::size_t>(decimals)];
        if (!f) {
            f = workbook_add_format(wb_);
            format_set_num_format(f, ("0." + std::string(static_cast<std::size_t>(decimals), '0')).c_str());
        }
        return f;
    }

    lxw_format* top_ = nullptr;
    lxw_format* wrapTop_ = nullptr;
    lxw_format* centre_ = nullptr;

private:
    static lxw_row_t Row(int r) { return static_cast<lxw_row_t>(r - 1); }
    static lxw_col_t Col(int c) { return static_cast<lxw_col_t>(c - 1); }
    void Check(lxw_error e, int row, int col) {
        if (e == LXW_NO_ERROR) return;
        throw std::runtime_error(Arg(Tr("%1: %2 行 %3 列に書き込めません (%4)"),
                                     {path_, std::to_string(row), std::to_string(col), lxw_strerror(e)}));
    }
    [[noreturn]] void Fail() { throw WriteError(path_, 0); }

    std::string path_;
    std::array<lxw_format*, 15> decimalFormats_{};
    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
};

}  // namespace

bool PlainDecimalNumber(std::string_view text, double& value, int* decimals) {
    const std::string_view s = layout::Trim(text);
    if (s.empty() || s.size() > 15) return false;
    std::size_t i = 0;
    if (s[0] == '-') ++i;
    const std::size_t intStart = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    const std::size_t intLen = i - intStart;
    if (intLen == 0 || (intLen > 1 && s[intStart] == '0')) return false;
    if (i < s.size()) {
        if (s[i] != '.') return false;
        const std::size_t fracStart = ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        if (i != s.size() || i == fracStart) return false;
        // Trailing zeros are kept by a number format when the caller can give one.
        if (!decimals && s[i - 1] == '0') return false;
        if (decimals) *decimals = static_cast<int>(i - fracStart);
    } else if (decimals) {
        *decimals = 0;
    }
    // A negative zero would show without its sign.
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string_view::npos) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

OutputReport WriteSpreadsheet(const Table& t, const OutputOptions& options, const std::string& path,
                              Progress* progress) {
    OutputOptions o = options;
    ClampRanges(o, t);
    const int relFrom = o.releveFrom, relTo = o.releveTo;
    const int releves = TallyReleves(t, relFrom, relTo).releves;
    const bool frequency = o.frequency && releves > 0;
    const int lastColumn = std::max(2, (relTo >= relFrom ? relTo + 2 : 2) + (frequency ? 1 : 0));
    if (lastColumn > kSheetColumns)
        throw std::runtime_error(
            Arg(Tr("%1: 測定の出力範囲が表計算の列数の上限 (%2 列) を超えます。測定の範囲を狭めてください"),
                {path, std::to_string(kSheetColumns)}));
    if (progress) progress->Show(Tr(kSpreadsheetMessage), "   ");

    // The workbook is written by its library into the temporary, by the temporary's name.
    AtomicFile file(path, Target(o));
    Workbook wb(path, file.TemporaryPath());
    wb.Widths(lastColumn, frequency);
    wb.Text(1, 1, o.title);
    int r = 1;
    if (ItemChosen(t, o, 1)) {
        r = 2;
        wb.Text(r, 1, t.Text(2, 1));
        // The serial numbers count relevés: a separator column stays empty.
        int serial = TallyReleves(t, 1, relFrom - 1).releves;
        for (int q = relFrom; q <= relTo; ++q)
            if (t.RelNumSp()[static_cast<std::size_t>(q)] > 0) wb.Number(r, q + 2, ++serial);
    }
    for (int n = 2; n < kItemCount; ++n) {
        if (!ItemChosen(t, o, n)) continue;
        const int g = t.HeaderRowOfItem(n);
        ++r;
        wb.Text(r, 1, t.Text(2, g));
        for (int q = relFrom; q <= relTo; ++q) wb.Value(r, q + 2, t.Text(Table::ReleveColumn(q), g));
        if (progress) progress->Show(Tr(kSpreadsheetMessage), std::to_string(n));
    }
    // The species numbers counted in the table, under the caption of the row after the
    // header rows of items 1..29 (item 30's, or "（現実の種数）").
    ++r;
    const int row30 = t.HeaderRowOfItem(kItemCount);
    wb.Text(r, 1, t.Text(2, row30 > 0 ? row30 : t.FNRow()));
    for (int q = relFrom; q <= relTo; ++q) wb.Value(r, q + 2, t.Text(Table::ReleveColumn(q), t.FNRow()));
    if (frequency) wb.Text(r, relTo + 3, kFrequencyHeading, wb.centre_);

    layout::RangeCovers covers(t, relFrom, relTo);
    // The frequency is a share of the range's relevés, separators not counted, so it
    // counts the range's cells: the table's count would pass 100 % for a narrow range.
    const std::vector<int> inRange = OccurrencesInRange(t, relFrom, relTo);
    const auto labels = LayerLabels(o.layerLabels);
    std::string cell;
    for (int p = o.speciesFrom; p <= o.speciesTo; ++p) {
        ++r;
        if (progress && p % 64 == 0) {
            progress->Show(Tr(kSpreadsheetMessage), std::to_string(p));

            if (progress->Cancelled()) throw OutputCancelled();
        }
        const int spKey = t.SpeciesKeyAt(p);
        const auto shown = layout::LayersShown(covers.Cells(spKey));
        const int lines = static_cast<int>(std::count(shown.begin(), shown.end(), true));
        wb.RowHeight(r, lines);
        wb.Text(r, 1, t.Text(2, t.FNRow() + p), wb.top_);
        if (lines > 0) {
            cell.clear();
            for (int i = 0; i < kLayerCount; ++i) {
                if (!shown[static_cast<std::size_t>(i)]) continue;
                if (!cell.empty()) cell += '\n';
                cell += labels[static_cast<std::size_t>(i)];
            }
            wb.Text(r, 2, cell, wb.wrapTop_);
            const std::vector<LayerCovers>& dom = covers.Line(spKey);
            for (int q = relFrom; q <= relTo; ++q) {
                if (t.RelNumSp()[static_cast<std::size_t>(q)] == 0) continue;  // a separator stays empty
                cell.clear();
                const LayerCovers& c = dom[static_cast<std::size_t>(q - relFrom)];
                for (int i = 0; i < kLayerCount; ++i) {
                    if (!shown[static_cast<std::size_t>(i)]) continue;
                    if (!cell.empty()) cell += '\n';
                    cell += layout::Notation(c[i], t.CodeD);
                }
                wb.Text(r, q + 2, cell, wb.centre_);
            }
        }
        if (frequency)
            wb.Number(r, relTo + 3, static_cast<double>(Percent(inRange[static_cast<std::size_t>(spKey)], releves)),
                      wb.centre_);
    }
    wb.Close();
    file.Commit();
    return {};
}

}  // namespace tavik
