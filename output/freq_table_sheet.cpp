#include "output/freq_table_sheet.h"

#include <xlsxwriter.h>

#include <map>
#include <stdexcept>
#include <tuple>

#include "core/messages.h"
#include "core/table_fidelity.h"
#include "formats/atomic_file.h"
#include "formats/file_error.h"
#include "formats/freq_table_files.h"
#include "output/spreadsheet.h"

namespace tavik {

namespace {

class Sheet {
public:
    Sheet(const std::string& path, const std::string& tmpPath) : path_(path) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        wb_ = workbook_new_opt(tmpPath.c_str(), &options);
        if (!wb_) Fail();
        ws_ = workbook_add_worksheet(wb_, nullptr);
        if (!ws_) Fail();
    }
    ~Sheet() {
        if (wb_) workbook_close(wb_);
    }

    // One format per kind of cell: its tint (0 none), whether a rule runs under it,
    // whether it is centred, and how many decimals a number shows (-1: general).
    lxw_format* Format(int shade, bool rule, bool centre, int decimals = -1, bool bold = false) {
        lxw_format*& f = formats_[{shade, rule, centre, decimals, bold}];
        if (!f) {
            f = workbook_add_format(wb_);
            if (shade > 0) {
                format_set_pattern(f, LXW_PATTERN_SOLID);
                format_set_bg_color(f, static_cast<lxw_color_t>(GroupTintRgb(shade)));
            }
            if (rule) format_set_bottom(f, LXW_BORDER_THIN);
            if (centre) format_set_align(f, LXW_ALIGN_CENTER);
            if (decimals > 0)
                format_set_num_format(f, ("0." + std::string(static_cast<std::size_t>(decimals), '0')).c_str());
            else if (decimals == 0) format_set_num_format(f, "0");
            if (bold) format_set_bold(f);
        }
        return f;
    }
    void Text(int row, int col, const std::string& s, lxw_format* f) {
        if (s.empty()) {
            if (f) Check(worksheet_write_blank(ws_, Row(row), Col(col), f), row, col);
            return;
        }
        Check(worksheet_write_string(ws_, Row(row), Col(col), s.c_str(), f), row, col);
    }
    void Number(int row, int col, double v, lxw_format* f) {
        Check(worksheet_write_number(ws_, Row(row), Col(col), v, f), row, col);
    }
    void Width(int first, int last, double w) {
        if (last >= first) worksheet_set_column(ws_, Col(first), Col(last), w, nullptr);
    }
    void Close() {
        lxw_workbook* wb = wb_;
        wb_ = nullptr;
        if (workbook_close(wb) != LXW_NO_ERROR) Fail();
    }

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
    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
    std::map<std::tuple<int, bool, bool, int, bool>, lxw_format*> formats_;
};

}  // namespace

void WriteFreqTableSheet(const FreqTable& t, const std::string& path, ReadOnlyTarget readOnly) {
    const bool synoptic = IsSynopticTable(t);
    const int groups = t.ColCount() - 1;
    const int perGroup = synoptic ? 2 : 1;
    const int sheetColumns = 1 + groups * perGroup;
    if (sheetColumns > 16384) throw std::runtime_error(Arg(Tr("%1: 列が多すぎて表計算に書けません"), {path}));

    AtomicFile file(path, readOnly);
    Sheet sheet(path, file.TemporaryPath());
    sheet.Width(1, 1, 30);
    sheet.Width(2, sheetColumns, synoptic ? 9 : 11);
    sheet.Text(1, 1, t.caption, sheet.Format(0, false, false, -1, true));

    // A diagnostic block ends where the next row belongs to another block of the order.
    const auto blockEnds = [&](int r) {
        const int next = r + 1;
        return synoptic && next < t.RowCount() && t.RowRank(r) >= 0 && t.RowRank(next) == t.RowRank(r) + 1 &&
               t.RowBlock(next) != t.RowBlock(r);
    };
    std::string cls, phi;
    for (int r = 0; r < t.RowCount(); ++r) {
        const int row = r + 2;
        const bool heading = r < t.fixedRows;
        const bool rule = blockEnds(r) || (heading && r + 1 == t.fixedRows);
        sheet.Text(row, 1, t.Text(0, r), sheet.Format(0, rule, false));
        for (int g = 1; g <= groups; ++g) {
            const int col = 2 + (g - 1) * perGroup;
            const int shade = t.Shade(g, r);
            const std::string& cell = t.Text(g, r);
            if (heading) {
                // Labels, relevé counts and mean species numbers; numbers as numbers.
                double v = 0;
                int decimals = 0;
                if (r > 0 && PlainDecimalNumber(cell, v, &decimals))
                    sheet.Number(row, col, v, sheet.Format(shade, rule, true, decimals));
                else sheet.Text(row, col, cell, sheet.Format(shade, rule, true, -1, r == 0));
                if (synoptic) {
                    if (r == 0) sheet.Text(row, col + 1, "φ×100", sheet.Format(shade, rule, true, -1, true));
                    else sheet.Text(row, col + 1, "", sheet.Format(shade, rule, true));
                }
                continue;
            }
            SplitSynopticCell(cell, cls, phi);
            sheet.Text(row, col, cls, sheet.Format(shade, rule, true));
            if (!synoptic) continue;
            double v = 0;
            if (!phi.empty() && PlainDecimalNumber(phi, v))
                sheet.Number(row, col + 1, v, sheet.Format(shade, rule, true, 0));
            else sheet.Text(row, col + 1, phi, sheet.Format(shade, rule, true));
        }
    }
    sheet.Close();
    file.Commit();
}

}  // namespace tavik
