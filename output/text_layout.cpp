#include "output/text_layout.h"

#include <algorithm>

#include "core/cover_number.h"
#include "core/covers.h"
#include "core/cp932_width.h"
#include "core/messages.h"
#include "core/releve_tally.h"
#include "output/layout_common.h"
#include "output/output_file.h"

namespace tavik {

namespace {

constexpr int kCaptionWidth = 32;
constexpr int kNameWidth = 28;

struct ItemLine {
    int item;
    int row;
};

class TextLayout {
public:
    TextLayout(const Table& t, const OutputOptions& o, LineSink& out, Progress* progress)
        : t_(t), o_(o), out_(out), progress_(progress), covers_(t, o.releveFrom, o.releveTo),
          labels_(LayerLabels(o.layerLabels)), inRange_(OccurrencesInRange(t, o.releveFrom, o.releveTo)),
          releves_(TallyReleves(t, o.releveFrom, o.releveTo).releves) {
        for (int n = 2; n <= kItemCount; ++n) {
            if (!ItemChosen(t, o, n)) continue;
            // The species count comes from the F＼N row: the number counted in the table,
            // not the one the field data gave.
            items_.push_back({n, n == kItemCount ? t.FNRow() : t.HeaderRowOfItem(n)});
        }
    }

    // `firstColumns` relevé columns in the first block (beside the caption column), then
    // `laterColumns` in every further one.
    void Run(int firstColumns, int laterColumns) {
        int w = std::max(1, firstColumns) - 1;
        const int relFrom = o_.releveFrom, relTo = o_.releveTo;
        bool first = true;
        // The serial numbers go on from the relevés before the range.
        int serial = TallyReleves(t_, 1, relFrom - 1).releves;
        int last = relFrom - 1;
        do {
            if (progress_ && progress_->Cancelled()) throw OutputCancelled();
            const int from = last + 1;
            last = std::min(from + w, relTo);
            Block(first, from, last, serial);
            if (last < relTo) out_.Line(kFormFeed);
            if (first) w = std::max(1, laterColumns) - 1;
            first = false;
        } while (last < relTo);
    }

private:
    void Block(bool first, int from, int last, int& serial) {
        const auto& relNumSp = t_.RelNumSp();
        const int cols = std::max(0, last - from + 1);
        out_.Line("");
        out_.Line(first ? std::string_view(o_.title) : std::string_view("続き"));  // data, not interface
        const std::string rule = RuleLine(cols * 5 + (first ? kCaptionWidth : 0), 1);
        out_.Line(rule);
        blankLine_.clear();
        for (int q = from; q <= last; ++q) blankLine_ += relNumSp[static_cast<std::size_t>(q)] > 0 ? "   . " : "     ";

        std::string& s = line_;
        s.clear();
        if (first) AppendCp932Fit(s, t_.ItemBoxes[1].caption, kCaptionWidth);
        for (int q = from; q <= last; ++q) {
            if (relNumSp[static_cast<std::size_t>(q)] > 0)
                AppendCp932Fit(s, std::to_string(++serial), 5, Cp932Align::Right);
            else s.append(5, ' ');
        }
        out_.Line(s);
        out_.Line(rule);

        for (const ItemLine& it : items_) {
            const std::string& caption = t_.ItemBoxes[static_cast<std::size_t>(it.item)].caption;
            if (it.item <= 7) {
                // Texts of up to eight bytes, written downwards in two pieces of four.
                std::string second;
                s.clear();
                if (first) {
                    AppendCp932Fit(s, caption, kCaptionWidth);
                    second.assign(kCaptionWidth, ' ');
                }
                for (int q = from; q <= last; ++q) {
                    const auto pieces = layout::Pieces(t_.Text(Table::ReleveColumn(q), it.row), 4, 2, true);
                    s += ' ';
                    s += pieces[0];
                    second += ' ';
                    second += pieces[1];
                }
                out_.Line(s);
                out_.Line(second);
            } else {
                s.clear();
                if (first) AppendCp932Fit(s, caption, kCaptionWidth);
                for (int q = from; q <= last; ++q) {
                    s += ' ';
                    AppendCp932Fit(s, t_.Text(Table::ReleveColumn(q), it.row), 4);
                }
                out_.Line(s);
            }
        }
        out_.Line(rule);

        const auto& spFreq = t_.SpFreq();
        for (int p = o_.speciesFrom; p <= o_.speciesTo; ++p) {
            const int f = spFreq[static_cast<std::size_t>(p)];
            const int row = t_.FNRow() + p;
            if (f == 0) {
                // A comment row, or a row left without cells.
                out_.Line(first ? t_.Text(2, row) : std::string());
            } else if (f > 1 && t_.SpeciesKeyAt(p) > 0) {
                // A species without a value in the range has no line: the blocks all leave
                // it out, so that their lines still pair up.
                SpeciesLayers(first, t_.SpeciesKeyAt(p), t_.Text(2, row), from, last);
            }
        }
        out_.Line(rule);
        if (first && o_.onceSpecies) OnceSpecies();
    }

    void SpeciesLayers(bool first, int spKey, const std::string& name, int from, int last) {
        const auto& cells = covers_.Cells(spKey);
        const auto shown = layout::LayersShown(cells);
        // The share of the range's relevés (separators not counted), in the last block.
        const bool frequency = o_.frequency && last == o_.releveTo && releves_ > 0;
        bool firstLine = true;
        std::string& s = line_;
        for (int i = 0; i < kLayerCount; ++i) {
            if (!shown[static_cast<std::size_t>(i)]) continue;
            s.clear();
            if (first) {
                if (firstLine) AppendCp932Fit(s, name, kNameWidth);
                else s.append(kNameWidth, ' ');
                s += ' ';
                s += labels_[static_cast<std::size_t>(i)];
                s += ':';
            }
            // The block's line of absent values, with the species' own values put in.
            const std::size_t start = s.size();
            s += blankLine_;
            for (const auto& e : cells) {
                const std::uint8_t v = e.covers[i];
                if (v == 0 || e.q < from || e.q > last || t_.RelNumSp()[static_cast<std::size_t>(e.q)] == 0) continue;
                s.replace(start + static_cast<std::size_t>(e.q - from) * 5 + 2, 3, layout::Notation(v, t_.CodeD));
            }
            if (frequency && firstLine) {
                s += ' ';
                s += MakeNumber4(Percent(inRange_[static_cast<std::size_t>(spKey)], releves_));
            }
            out_.Line(s);
            firstLine = false;
        }
    }

    void OnceSpecies() {
        out_.Line("出現回数１回の種");  // data, not interface
        const auto& spFreq = t_.SpFreq();
        const auto& relNumSp = t_.RelNumSp();
        std::vector<char> once(static_cast<std::size_t>(t_.MaxSpecies()) + 1, 0);
        for (int p = std::max(1, o_.speciesFrom); p <= o_.speciesTo; ++p)
            if (spFreq[static_cast<std::size_t>(p)] == 1) once[static_cast<std::size_t>(t_.SpeciesKeyAt(p))] = 1;
        struct Hit {
            int pos;
            int key;
            LayerCovers covers;
        };
        std::vector<Hit> hits;
        // Only the range's relevés, numbered as the table numbers them.
        int n = TallyReleves(t_, 1, o_.releveFrom - 1).releves;
        for (int j = std::max(1, o_.releveFrom); j <= o_.releveTo; ++j) {
            if (relNumSp[static_cast<std::size_t>(j)] > 0) ++n;
            hits.clear();
            for (const Cell& c : t_.CellsOf(t_.ReleveKeyAt(j))) {
                if (c.species < 1 || c.species > t_.MaxSpecies() || !once[static_cast<std::size_t>(c.species)])
                    continue;
                if (c.covers.empty()) continue;
                hits.push_back({t_.SpeciesPosOf(c.species), c.species, c.covers});
            }
            if (hits.empty()) continue;
            std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.pos < b.pos; });
            std::string& s = line_;
            s = "No." + std::to_string(n);
            for (const Hit& h : hits) {
                s += ", ";
                s += layout::Trim(t_.Text(2, t_.FNRow() + h.pos));
                for (int i = 0; i < kLayerCount; ++i) {
                    const std::uint8_t v = h.covers[i];
                    if (v == 0) continue;
                    s += ' ';
                    s += labels_[static_cast<std::size_t>(i)];
                    s += ':';
                    s += layout::Trim(layout::Notation(v, t_.CodeD));
                }
            }
            s += '.';
            out_.Line(s);
        }
        out_.Line("");
    }

    const Table& t_;
    const OutputOptions& o_;
    LineSink& out_;
    Progress* progress_;
    layout::RangeCovers covers_;
    std::array<std::string, kLayerCount> labels_;
    std::vector<int> inRange_;  // by species key
    int releves_;               // relevés of the range, separators not counted
    std::vector<ItemLine> items_;
    std::string line_;
    std::string blankLine_;
};

}  // namespace

long long Percent(long long part, long long of) {
    if (of <= 0) return 0;
    const long long num = part * 100;
    long long q = num / of;
    const long long r = num % of;
    if (2 * r > of || (2 * r == of && q % 2 != 0)) ++q;
    return q;
}

void PrintTable(const Table& t, const OutputOptions& options, int blockWidth, LineSink& out, Progress* progress) {
    OutputOptions o = options;
    ClampRanges(o, t);
    TextLayout(t, o, out, progress).Run(blockWidth + 1, blockWidth + 7);
}

void PrintTableInBlocks(const Table& t, const OutputOptions& options, int firstColumns, int laterColumns, LineSink& out,
                        Progress* progress) {
    OutputOptions o = options;
    ClampRanges(o, t);
    TextLayout(t, o, out, progress).Run(firstColumns, laterColumns);
}

int OnceSpeciesLeftOut(const Table& t, const OutputOptions& options) {
    OutputOptions o = options;
    ClampRanges(o, t);
    if (o.onceSpecies) return 0;
    const std::vector<int> inRange = OccurrencesInRange(t, o.releveFrom, o.releveTo);
    int n = 0;
    for (int p = std::max(1, o.speciesFrom); p <= o.speciesTo; ++p) {
        const int key = t.SpeciesKeyAt(p);
        if (t.SpFreq()[static_cast<std::size_t>(p)] == 1 && key > 0 && inRange[static_cast<std::size_t>(key)] > 0) ++n;
    }
    return n;
}

bool FrequencyLeftOut(const Table& t, const OutputOptions& options) {
    OutputOptions o = options;
    ClampRanges(o, t);
    return o.frequency && TallyReleves(t, o.releveFrom, o.releveTo).releves == 0;
}

OutputReport WriteTextTable(const Table& t, const OutputOptions& o, const std::string& path, Progress* progress) {
    if (progress) progress->Show(Tr("　組成表をテキスト出力しています　"), "");

    return WriteTextOutput(
        path, [&](LineSink& sink) { PrintTable(t, o, kTextFileBlockWidth, sink, progress); }, Target(o), o.encoding);
}

}  // namespace tavik
