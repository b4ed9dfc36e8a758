#include "output/matrix.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "core/cover_number.h"
#include "core/messages.h"
#include "output/layout_common.h"
#include "output/output_file.h"

namespace tavik {

namespace {

// The used relevé positions and species positions of the options' ranges.
struct UsedRange {
    std::vector<int> releves, species;
};

UsedRange Used(const Table& t, const OutputOptions& o) {
    UsedRange u;
    const auto& relNumSp = t.RelNumSp();
    const auto& spFreq = t.SpFreq();
    for (int q = o.releveFrom; q <= o.releveTo; ++q)
        if (relNumSp[static_cast<std::size_t>(q)] > 0) u.releves.push_back(q);
    for (int p = o.speciesFrom; p <= o.speciesTo; ++p)
        if (spFreq[static_cast<std::size_t>(p)] > 0) u.species.push_back(p);
    return u;
}

std::string QuotedName(const Table& t, int p) {
    std::string s = "\"";
    s += layout::Trim(t.Text(2, t.FNRow() + p));
    s += '"';
    return s;
}

// Appends the values of one matrix row: `count` fields, each "," and a number, where the
// fields listed in `cells` (ascending column, with their covers) are computed and every
// other field is the number of an empty cell, copied in runs.
class RowWriter {
public:
    RowWriter(int method, int count) : method_(method) {
        emptyField_ = "," + CoverNumber(method, EmptyLayers);
        empties_.reserve(emptyField_.size() * static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) empties_ += emptyField_;
        count_ = count;
    }
    struct Field {
        int column;
        LayerCovers covers;
    };
    void Append(std::string& row, const std::vector<Field>& cells) const {
        const std::size_t w = emptyField_.size();
        int next = 0;
        for (const Field& f : cells) {
            row.append(empties_, static_cast<std::size_t>(next) * w, static_cast<std::size_t>(f.column - next) * w);
            row += ',';
            row += CoverNumber(method_, f.covers);
            next = f.column + 1;
        }
        row.append(empties_, static_cast<std::size_t>(next) * w, static_cast<std::size_t>(count_ - next) * w);
    }

private:
    int method_, count_;
    std::string emptyField_, empties_;
};

void Step(Progress* progress, const std::string& line1, int n) {
    if (!progress) return;
    progress->Show(line1, std::to_string(n));
    if (progress->Cancelled()) throw OutputCancelled();
}

// Rows of relevés: for each used relevé its label and one field per used species.
void ReleveRows(const Table& t, const OutputOptions& o, const UsedRange& u, LineSink& out, Progress* progress,
                const std::string& message) {
    std::vector<int> columnOf(static_cast<std::size_t>(t.MaxSpecies()) + 1, -1);
    for (std::size_t i = 0; i < u.species.size(); ++i)
        columnOf[static_cast<std::size_t>(t.SpeciesKeyAt(u.species[i]))] = static_cast<int>(i);
    const RowWriter writer(o.method, static_cast<int>(u.species.size()));
    std::vector<RowWriter::Field> cells;
    std::string row;
    for (int q : u.releves) {
        Step(progress, message, q);
        cells.clear();
        for (const Cell& c : t.CellsOf(t.ReleveKeyAt(q))) {
            if (c.species < 1 || c.species > t.MaxSpecies() || c.covers.empty()) continue;
            const int col = columnOf[static_cast<std::size_t>(c.species)];
            if (col >= 0) cells.push_back({col, c.covers});
        }
        std::sort(cells.begin(), cells.end(),
                  [](const RowWriter::Field& a, const RowWriter::Field& b) { return a.column < b.column; });
        row = t.Text(Table::ReleveColumn(q), 2);
        writer.Append(row, cells);
        out.Line(row);
    }
}

}  // namespace

void ValueMatrix(const Table& t, const OutputOptions& options, LineSink& out, Progress* progress) {
    OutputOptions o = options;
    ClampRanges(o, t);
    const UsedRange u = Used(t, o);
    const std::string message = Tr("　数値表として出力中　");
    std::string row;
    if (o.direction == 1) {
        for (int p : u.species) {
            row += ',';
            row += QuotedName(t, p);
        }
        out.Line(row);
        ReleveRows(t, o, u, out, progress, message);
        return;
    }
    for (int q : u.releves) {
        row += ',';
        row += t.Text(Table::ReleveColumn(q), 2);
    }
    out.Line(row);
    // Relevé position -> column among the used ones.
    std::vector<int> columnOf;
    if (o.releveTo >= o.releveFrom) columnOf.assign(static_cast<std::size_t>(o.releveTo - o.releveFrom + 1), -1);
    for (std::size_t i = 0; i < u.releves.size(); ++i)
        columnOf[static_cast<std::size_t>(u.releves[i] - o.releveFrom)] = static_cast<int>(i);
    const layout::RangeCovers covers(t, o.releveFrom, o.releveTo);
    const RowWriter writer(o.method, static_cast<int>(u.releves.size()));
    std::vector<RowWriter::Field> cells;
    for (int p : u.species) {
        Step(progress, message, p);
        cells.clear();
        for (const auto& e : covers.Cells(t.SpeciesKeyAt(p))) {
            const int col = columnOf[static_cast<std::size_t>(e.q - o.releveFrom)];
            if (col >= 0) cells.push_back({col, e.covers});
        }
        row = QuotedName(t, p);
        writer.Append(row, cells);
        out.Line(row);
    }
}

OutputReport WriteValueMatrix(const Table& t, const OutputOptions& o, const std::string& path, Progress* progress) {
    if (progress) progress->Show(Tr("　数値表として出力中　"), "");
    return WriteTextOutput(
        path, [&](LineSink& sink) { ValueMatrix(t, o, sink, progress); }, Target(o), o.encoding);
}

std::vector<std::string> SpeciesAbbreviations(const Table& t, const OutputOptions& options) {
    OutputOptions o = options;
    ClampRanges(o, t);
    std::vector<std::string> abbr(static_cast<std::size_t>(t.SpeciesCount()) + 1);
    // Positions by abbreviation, so that each species finds the later ones that share its
    // abbreviation without comparing with every species after it.
    std::unordered_map<std::string, std::set<int>> holders;
    for (int p = o.speciesFrom; p <= o.speciesTo; ++p) {
        abbr[static_cast<std::size_t>(p)] = layout::Pieces(t.Text(2, t.FNRow() + p), 8, 1, false)[0];
        holders[abbr[static_cast<std::size_t>(p)]].insert(p);
    }
    for (int p = o.speciesFrom; p <= o.speciesTo; ++p) {
        const std::string mine = abbr[static_cast<std::size_t>(p)];
        auto& same = holders[mine];
        std::vector<int> later(same.upper_bound(p), same.end());
        if (later.empty()) continue;
        const std::string stem = layout::Pieces(mine, 6, 1, false)[0];
        int k = 1;
        for (int e : later) {
            ++k;
            std::string renamed = stem + MakeNumber2(k);
            holders[mine].erase(e);
            holders[renamed].insert(e);
            abbr[static_cast<std::size_t>(e)] = std::move(renamed);
        }
    }
    return abbr;
}

void PCordMatrix(const Table& t, const OutputOptions& options, const std::vector<std::string>& abbr, LineSink& out,
                 Progress* progress) {
    OutputOptions o = options;
    ClampRanges(o, t);
    const UsedRange u = Used(t, o);
    const std::size_t nr = u.releves.size(), ns = u.species.size();
    const std::string commas(ns >= 2 ? ns - 1 : 0, ',');
    out.Line(std::to_string(nr) + ",Releve" + commas);
    out.Line(std::to_string(ns) + ",Species" + commas);
    std::string row;
    for (std::size_t i = 0; i < ns; ++i) row += ",Q";
    out.Line(row);
    row.clear();
    for (int p : u.species) {
        row += ',';
        row += abbr[static_cast<std::size_t>(p)];
    }
    out.Line(row);
    ReleveRows(t, o, u, out, progress, Tr("　PCord用の数値表を出力中　"));
}

void PCordSpeciesList(const Table& t, const std::vector<std::string>& abbr, LineSink& out) {
    std::string line;
    for (int s = 1; s <= t.SpeciesCount(); ++s) {
        line = static_cast<std::size_t>(s) < abbr.size() ? abbr[static_cast<std::size_t>(s)] : std::string();
        line += ' ';
        line += t.Text(2, t.FNRow() + s);
        out.Line(line);
    }
}

OutputReport WritePCordMatrix(const Table& t, const OutputOptions& o, const std::string& path, Progress* progress) {
    const std::vector<std::string> abbr = SpeciesAbbreviations(t, o);
    // The command shows no work message of its own; the rows still report for cancelling.
    if (NamesSpeciesList(path))
        throw std::runtime_error(Arg(Tr("%1: PCord の数値表の名前が .lst で終わっています（種名リストと重なります）。"
                                        "別の拡張子にしてください"),
                                     {path}));

    // The matrix and its list are replaced as a pair: a list that cannot be written leaves
    // the old matrix beside the old list, never a new matrix beside an old list.
    return WriteTextPair(
        path, [&](LineSink& sink) { PCordMatrix(t, o, abbr, sink, progress); }, SpeciesListPath(path),
        [&](LineSink& sink) { PCordSpeciesList(t, abbr, sink); }, Target(o), o.encoding);
}

}  // namespace tavik
