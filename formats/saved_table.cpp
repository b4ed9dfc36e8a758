#include "formats/saved_table.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/messages.h"
#include "formats/byte_sink.h"
#include "formats/byte_source.h"
#include "formats/codec.h"
#include "formats/file_error.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr int kMaxCover = 255 - 48;  // the highest value one byte of the cover block holds

// ---- Writing ------------------------------------------------------------------------------

// Writes texts to the file in one encoding, a line at a time. In CP932 a text without a
// CP932 form makes Put return false (remembering the text), and the whole file is written
// again as UTF-8.
class TextSink {
public:
    TextSink(ByteSink& sink, TextEncoding enc) : sink_(sink), enc_(enc) { out_.reserve(kFlushAt + (1 << 16)); }

    bool Put(std::string_view utf8) {
        if (enc_ == TextEncoding::Utf8 || IsAscii(utf8)) {
            out_ += utf8;
            return true;
        }
        if (!Utf8ToCp932(utf8, scratch_)) {
            unencodable_.assign(utf8);
            return false;
        }
        wroteNonAscii_ = true;
        readsAsUtf8_ = readsAsUtf8_ && IsValidUtf8(scratch_);
        out_ += scratch_;
        return true;
    }

    // True when the CP932 texts written are, byte for byte, valid UTF-8 as well: a reader
    // would take the file for UTF-8, so it has to be written as UTF-8 with a BOM instead.
    bool Ambiguous() const { return wroteNonAscii_ && readsAsUtf8_; }
    const std::string& Unencodable() const { return unencodable_; }

    // One comma-separated field: quoted when it holds a character of code 32 or less, a
    // double quote or a comma, with inner quotes doubled. Line breaks become blanks.
    bool PutField(std::string_view s) {
        bool quote = false, breaks = false;
        for (char c : s) {
            const auto b = static_cast<unsigned char>(c);
            if (b <= 32 || c == '"' || c == ',') quote = true;
            if (c == '\r' || c == '\n') breaks = true;
        }
        if (!quote) return Put(s);
        field_.assign(1, '"');
        for (char c : s) {
            if (c == '"') field_ += '"';
            field_ += (breaks && (c == '\r' || c == '\n')) ? ' ' : c;
        }
        field_ += '"';
        return Put(field_);
    }

    void Raw(std::string_view s) { out_ += s; }
    void Raw(char c) { out_ += c; }
    void Repeat(std::size_t n, char c) { out_.append(n, c); }
    void Number(long long n) {
        char buf[24];
        auto r = std::to_chars(buf, buf + sizeof buf, n);
        out_.append(buf, r.ptr);
    }
    void EndLine() {
        out_ += "\r\n";
        if (out_.size() >= kFlushAt) Flush();
    }
    void Flush() {
        if (!out_.empty()) sink_.Write(out_);
        out_.clear();
    }
    // A whole line, ending included, handed on as it is after what was written before.
    void WholeLine(std::string_view line) {
        Flush();
        sink_.Write(line);
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    ByteSink& sink_;
    TextEncoding enc_;
    std::string out_, scratch_, field_, unencodable_;
    bool wroteNonAscii_ = false, readsAsUtf8_ = true;
};

// The cells of the used species rows grouped by row position, in column order: one pass over
// the relevés instead of a lookup for every (relevé, species) pair.
template <class Item>
struct Buckets {
    std::vector<int> start;  // items of row p: [start[p], start[p + 1])
    std::vector<Item> items;
};

template <class Item, class Want, class Make>
Buckets<Item> BucketBySpecies(const Table& t, int firstCol, int lastCol, Want want, Make make) {
    const int S = t.SpeciesCount();
    Buckets<Item> b;
    b.start.assign(static_cast<std::size_t>(S) + 2, 0);
    const auto rowOf = [&](const Cell& c) {
        const int p = c.species >= 1 && c.species <= t.MaxSpecies() ? t.SpeciesPosOf(c.species) : 0;
        return p >= 1 && p <= S ? p : 0;
    };
    for (int j = firstCol; j <= lastCol; ++j)
        for (const Cell& c : t.CellsOf(t.ReleveKeyAt(j)))
            if (want(c))
                if (int p = rowOf(c)) ++b.start[static_cast<std::size_t>(p) + 1];
    for (int p = 1; p <= S + 1; ++p) b.start[static_cast<std::size_t>(p)] += b.start[static_cast<std::size_t>(p) - 1];
    b.items.resize(static_cast<std::size_t>(b.start[static_cast<std::size_t>(S) + 1]));
    std::vector<int> next(b.start.begin(), b.start.end());
    for (int j = firstCol; j <= lastCol; ++j) {
        const int key = t.ReleveKeyAt(j);
        for (const Cell& c : t.CellsOf(key))
            if (want(c))
                if (int p = rowOf(c))
                    b.items[static_cast<std::size_t>(next[static_cast<std::size_t>(p)]++)] = make(j, key, c);
    }
    return b;
}

struct CoverItem {
    int col;
    LayerCovers covers;
};
// A cell's text comes along with its place (gathered relevé by relevé, written species by
// species: going back to the cell for it would jump through memory for every cell).
struct TextItem {
    int col;
    std::uint8_t len;  // as Cell::len: a long text is looked up
    char text[4];
};

void PutCovers(char* dst, const LayerCovers& c, int spPos, int col) {
    for (int k = 0; k < kLayerCount; ++k) {
        if (c[k] > kMaxCover)
            throw std::runtime_error(Arg(Tr("被度の値 %1 は保存できません（種 %2、列 %3）"),
                                         {std::to_string(c[k]), std::to_string(spPos), std::to_string(col)}));
        dst[k] = static_cast<char>('0' + c[k]);
    }
}

// False when the file has to be written again in UTF-8 (see TextSink).
bool WriteTable(const Table& t, TextEncoding enc, ByteSink& sink, std::string& unencodable, Progress* progress) {
    TextSink w(sink, enc);
    const auto fail = [&] {
        unencodable = w.Unencodable();
        return false;
    };
    const int S = t.SpeciesCount(), R = t.ReleveCount(), F = t.FNRow();
    const int cols = t.ColCount();
    const std::size_t width = (static_cast<std::size_t>(R) + 1) * kLayerCount;
    // Progress by the row, shown about every hundredth of the rows; a stop ends the work.
    const auto step = [&](int i, const char* what) {
        if (!progress) return;
        if (i % std::max(1, S / 100) == 0)
            progress->Show(Tr("　組成表を保存中　"),
                           std::string(Tr(what)) + " " + std::to_string(i) + " / " + std::to_string(S));
        if (progress->Cancelled()) throw WorkStopped(Tr("組成表の保存を中止しました"));
    };
    if (enc == TextEncoding::Utf8) w.Raw(kBom);

    std::string title = t.TableTitle;
    for (char& c : title)
        if (c == '\r' || c == '\n') c = ' ';
    if (!w.Put(title)) return fail();
    w.EndLine();
    w.Number(S);
    w.Raw(' ');
    w.Number(R);
    w.Raw(' ');
    w.Number(F);
    w.EndLine();

    // The cover block: a line of '0's per species, patched where covers are not empty. The
    // '0's are made once: each line is patched, handed on whole and put back to '0's.
    {
        const auto covers = BucketBySpecies<CoverItem>(
            t, 0, R, [](const Cell& c) { return !c.covers.empty(); },
            [](int j, int, const Cell& c) {
                return CoverItem{j, c.covers};
            });
        std::string line(width, '0');
        line += "\r\n";
        const auto cell = [&](int col) { return line.data() + static_cast<std::size_t>(col) * kLayerCount; };
        for (int i = 0; i <= S; ++i) {
            step(i, TrNoop("被度"));
            const CoverItem* first = covers.items.data() + covers.start[static_cast<std::size_t>(i)];
            const CoverItem* last = covers.items.data() + covers.start[static_cast<std::size_t>(i) + 1];
            if (i == 0) {
                for (int j = 0; j <= R; ++j) {
                    const LayerCovers rec = t.ReleveRecord(t.ReleveKeyAt(j));
                    if (!rec.empty()) PutCovers(cell(j), rec, 0, j);
                }
            } else {
                for (const CoverItem* c = first; c != last; ++c) PutCovers(cell(c->col), c->covers, i, c->col);
            }
            w.WholeLine(line);
            if (i == 0) {
                for (int j = 0; j <= R; ++j) std::memset(cell(j), '0', kLayerCount);
            } else {
                for (const CoverItem* c = first; c != last; ++c) std::memset(cell(c->col), '0', kLayerCount);
            }
        }
    }

    // Row 0: the relevé keys as they will be after loading.
    w.Raw(",,");
    for (int j = 0; j <= R; ++j) {
        w.Raw(',');
        w.Number(j);
    }
    w.EndLine();

    for (int r = 1; r <= F; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c > 0) w.Raw(',');
            if (!w.PutField(t.Text(c, r))) return fail();
        }
        w.EndLine();
    }

    // Species rows: the position replaces the key; the cells come from one pass.
    const auto texts = BucketBySpecies<TextItem>(
        t, 1, t.MaxReleve(), [](const Cell& c) { return c.len != 0; },
        [](int j, int, const Cell& c) {
            TextItem x{j, c.len, {}};
            std::memcpy(x.text, c.text, sizeof x.text);
            return x;
        });
    for (int i = 1; i <= S; ++i) {
        step(i, TrNoop("種"));
        const int row = F + i;
        w.Number(i);
        for (int c = 1; c <= 3; ++c) {
            w.Raw(',');
            if (!w.PutField(t.Text(c, row))) return fail();
        }
        int last = 0;
        for (int k = texts.start[static_cast<std::size_t>(i)]; k < texts.start[static_cast<std::size_t>(i) + 1]; ++k) {
            const TextItem& x = texts.items[static_cast<std::size_t>(k)];
            w.Repeat(static_cast<std::size_t>(x.col - last), ',');
            last = x.col;
            const bool ok = x.len == kLongText ? w.PutField(t.CellText(t.ReleveKeyAt(x.col), t.SpeciesKeyAt(i)))
                                               : w.PutField(std::string_view(x.text, x.len));
            if (!ok) return fail();
        }
        w.Repeat(static_cast<std::size_t>(cols - 4 - last), ',');
        w.EndLine();
    }
    if (w.Ambiguous()) return false;
    w.Flush();
    return true;
}

// ---- Reading ------------------------------------------------------------------------------

// Splits one line into fields as the table has always read them: blanks (codes 1..32, and
// a stray NUL) between fields are skipped; a quoted field runs to its closing quote, a
// doubled quote standing for one; any other field runs to a comma or a blank; a comma at
// the very end gives a final empty field.
class FieldReader {
public:
    explicit FieldReader(std::string_view line) : s_(line) { SkipBlanks(); }

    bool Next(std::string_view& field) {
        if (pendingEmpty_) {
            pendingEmpty_ = false;
            field = {};
            return true;
        }
        if (i_ >= s_.size()) return false;
        if (s_[i_] == '"') {
            field = Quoted();
        } else {
            const std::size_t from = i_;
            while (i_ < s_.size() && !IsBlank(s_[i_]) && s_[i_] != ',') ++i_;
            field = s_.substr(from, i_ - from);
        }
        SkipBlanks();
        if (i_ < s_.size() && s_[i_] == ',') {
            if (i_ + 1 == s_.size()) pendingEmpty_ = true;
            ++i_;
            SkipBlanks();
        }
        return true;
    }

    // Passes over up to `most` empty fields that are bare commas one after another (what a
    // species row is mostly made of), eight at a time; returns how many. Next then goes on
    // as if it had given them one by one.
    int SkipEmpty(int most) {
        if (pendingEmpty_ || most <= 0) return 0;
        constexpr std::uint64_t kCommas = 0x2C2C2C2C2C2C2C2Cull;
        const std::size_t stop = std::min(s_.size(), i_ + static_cast<std::size_t>(most));
        std::size_t j = i_;
        for (std::uint64_t w; stop - j >= 8 && (std::memcpy(&w, s_.data() + j, 8), w == kCommas);) j += 8;
        while (j < stop && s_[j] == ',') ++j;
        const std::size_t k = j - i_;
        if (k == 0) return 0;
        i_ = j;
        if (i_ == s_.size()) pendingEmpty_ = true;  // a comma at the very end: one more, empty
        SkipBlanks();
        return static_cast<int>(k);
    }

private:
    static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
    void SkipBlanks() {
        while (i_ < s_.size() && IsBlank(s_[i_])) ++i_;
    }
    std::string_view Quoted() {
        ++i_;
        const std::size_t from = i_;
        std::size_t close = s_.find('"', i_);
        if (close == std::string_view::npos) {  // unterminated: the rest of the line
            i_ = s_.size();
            return s_.substr(from);
        }
        if (close + 1 >= s_.size() || s_[close + 1] != '"') {
            i_ = close + 1;
            return s_.substr(from, close - from);
        }
        buf_.clear();
        for (;;) {
            buf_.append(s_.substr(i_, close - i_));
            if (close + 1 < s_.size() && s_[close + 1] == '"') {
                buf_ += '"';
                i_ = close + 2;
                close = s_.find('"', i_);
                if (close == std::string_view::npos) {
                    buf_.append(s_.substr(i_));
                    i_ = s_.size();
                    break;
                }
            } else {
                i_ = close + 1;
                break;
            }
        }
        return buf_;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    bool pendingEmpty_ = false;
    std::string buf_;
};

// Longer than any line of a real table (a cover line of 100,000 relevés is 700 KB), short
// enough that a file without line ends cannot exhaust memory.
constexpr std::size_t kMaxLine = std::size_t{256} << 20;

// Reads the file line by line as it arrives; the table is built in `t`, which the caller
// keeps only when Run returns. The encoding is known from a BOM, or from the first text line
// that is not valid UTF-8 (then CP932); until then texts that are not ASCII wait, as bytes,
// for the decision at the end.
class Loader {
public:
    Loader(ByteSource& src, const std::string& fileName, Table& t, Progress* progress)
        : file_(fileName), t_(t), progress_(progress), maxBytes_(src.MaxBytes()), lines_(src, fileName, kMaxLine) {}

    void Run() {
        std::string_view l;
        if (!lines_.Next(l)) throw std::runtime_error(Arg(Tr("%1 は空のファイルです"), {file_}));
        if (l.substr(0, kBom.size()) == kBom) {
            l.remove_prefix(kBom.size());
            decided_ = true;
            enc_ = TextEncoding::Utf8;
        }
        title_.assign(l);
        Look(l);
        if (!lines_.Next(l)) Fail(1, Tr("種数・測定数・固定行数の3つの整数がありません"));
        ReadCounts(l);
        // The counts are only a claim until the lines are there: the table is made once the
        // whole cover block has been read, so that its size follows what the file holds.
        ReadCoverBlock();
        t_.ResetForLoad(S_, R_, F_);
        coverEnd_ = covered_.size();
        ReadKeyRow(NextLine());
        for (int r = 1; r < F_; ++r) ReadGridLine(r, true, NextLine());
        for (int i = 0; i <= S_; ++i) {
            Step(i, TrNoop("種"));
            ReadGridLine(F_ + i, false, NextLine());
        }
        PutCells();

        if (!decided_) Decide(nonAscii_ ? TextEncoding::Utf8 : TextEncoding::Cp932);
        t_.TableTitle = Decode(title_, 0);
        for (std::size_t n = 1; n <= kItemCount; ++n) t_.ItemBoxes[n].enabled = t_.ItemBoxes[n].checked = false;
        for (int r = 1; r < F_; ++r) {
            ItemBox& box = t_.ItemBoxes[static_cast<std::size_t>(items_[static_cast<std::size_t>(r)])];
            box.enabled = box.checked = true;
            box.caption = t_.Text(2, r);
        }
        t_.Recount();
    }

private:
    [[noreturn]] void Fail(std::size_t line, const std::string& what) const {
        throw std::runtime_error(Arg(Tr("%1: %2"), {FileLine(file_, line + 1), what}));
    }

    // Progress by the line, shown about every hundredth of the rows; a stop ends the work.
    void Step(int i, const char* what) {
        if (!progress_) return;
        if (i % std::max(1, S_ / 100) == 0)
            progress_->Show(Tr("　組成表を読込中　"),
                            std::string(Tr(what)) + " " + std::to_string(i) + " / " + std::to_string(S_));
        if (progress_->Cancelled()) throw WorkStopped(Arg(Tr("%1 の読込を中止しました"), {file_}));
    }

    std::string_view NextLine() {
        std::string_view l;
        if (!lines_.Next(l)) Missing(lines_.Empty() ? 0 : lines_.LineIndex() + 1);
        return l;
    }

    [[noreturn]] void Missing(std::size_t line) const {
        const std::size_t needed = 2 * static_cast<std::size_t>(S_) + static_cast<std::size_t>(F_) + 4;
        Fail(line, Arg(Tr("ファイルが途中で終わっています（%1 行必要）"), {std::to_string(needed)}));
    }

    static bool ParseCount(std::string_view& s, long long& n) {
        while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
        std::size_t k = 0;
        while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
        if (k == 0 || k > 12) return false;
        std::from_chars(s.data(), s.data() + k, n);
        s.remove_prefix(k);
        return s.empty() || static_cast<unsigned char>(s.front()) <= 32;
    }

    void ReadCounts(std::string_view l) {
        long long S = 0, R = 0, F = 0;
        if (!ParseCount(l, S) || !ParseCount(l, R) || !ParseCount(l, F))
            Fail(1, Tr("種数・測定数・固定行数の3つの整数がありません"));
        if (F < 2 || F > kItemCount + 1)
            Fail(1, Arg(Tr("固定行数 %1 が 2～31 の範囲にありません"), {std::to_string(F)}));
        // The cover block alone holds (S + 1) lines of (R + 1) * 7 characters.
        const long long width = (R + 1) * kLayerCount;
        const long long size = static_cast<long long>(std::min<std::uint64_t>(maxBytes_, 1ull << 60));
        if (width > size || width > static_cast<long long>(kMaxLine) || S + 1 > size / (width + 1) || S > (1 << 30) ||
            R > (1 << 30))
            Fail(1,
                 Arg(Tr("種数 %1・測定数 %2 がファイルの大きさに合いません"), {std::to_string(S), std::to_string(R)}));
        S_ = static_cast<int>(S);
        R_ = static_cast<int>(R);
        F_ = static_cast<int>(F);
    }

    // The title and the text lines (not the cover block, which is bytes) decide the encoding.
    void Look(std::string_view l) {
        if (decided_ || IsAscii(l)) return;
        nonAscii_ = true;
        if (!IsValidUtf8(l)) Decide(TextEncoding::Cp932);
    }

    void Decide(TextEncoding enc) {
        decided_ = true;
        enc_ = enc;
        for (const Pending& p : pending_)
            SetLater(p.col, p.row, Decode(std::string_view(arena_).substr(p.at, p.len), p.line));
        pending_.clear();
        pending_.shrink_to_fit();
        arena_.clear();
        arena_.shrink_to_fit();
    }

    std::string Decode(std::string_view s, std::size_t line) const {
        if (IsAscii(s)) return std::string(s);
        std::string out;
        const bool ok = enc_ == TextEncoding::Utf8 ? (IsValidUtf8(s) && (out.assign(s), true)) : Cp932ToUtf8(s, out);
        if (!ok) throw std::runtime_error(BadEncodingMessage(file_, line + 1));
        return out;
    }

    // Where the reading of the cover block stands.
    struct CoverState {
        int s = 0;             // the line of species position s (0: the relevés' own covers)
        std::size_t col = 0;   // its characters read up to the width (to the cover begun)
        std::size_t tail = 0;  // its characters after the width, which are passed over
        std::size_t have = 0;  // characters of the cover begun
        std::size_t bad = 0;   // the first character below '0' in the line (1-based), or 0
        bool inCell = false, inTail = false;
        bool lf = false;  // the line before ended with CR: an LF next belongs to it
        char cell[kLayerCount] = {};
    };

    std::size_t Width() const { return (static_cast<std::size_t>(R_) + 1) * kLayerCount; }

    // The cover block, read straight from the bytes as they come rather than as lines: runs
    // of '0' are passed over 64 bytes at a time, a cover is read where one begins (also when
    // a read ends inside it), and each line must hold its (R + 1) x 7 characters before its
    // end. Whatever follows the block is given back to the line reader.
    void ReadCoverBlock() {
        CoverState st;
        Step(0, TrNoop("被度"));
        for (;;) {
            const std::string_view bytes = lines_.Take();
            if (bytes.empty()) {
                CoverBlockEnds(st);
                break;
            }
            const char* const end = bytes.data() + bytes.size();
            const char* const p = CoverBytes(st, bytes.data(), end);
            if (st.s > S_ && !st.lf) {
                lines_.GiveBack(static_cast<std::size_t>(end - p));
                break;
            }
        }
        lines_.CountLines(static_cast<std::size_t>(S_) + 1);
    }

    // Reads the cover block on from `p`; returns where the block ended, or `end`.
    const char* CoverBytes(CoverState& st, const char* p, const char* const end) {
        const std::size_t width = Width();
        while (p != end) {
            if (st.lf) {
                st.lf = false;
                if (*p == '\n' && ++p == end) break;
            }
            if (st.s > S_) return p;
            if (st.inTail) {
                const char* e = p;
                while (e != end && *e != '\r' && *e != '\n') ++e;
                st.tail += static_cast<std::size_t>(e - p);
                if (width + st.tail > kMaxLine) lines_.TooLong(2 + static_cast<std::size_t>(st.s));
                if (e == end) break;
                st.lf = *e == '\r';
                p = e + 1;
                NextCoverLine(st);
            } else if (st.inCell) {
                while (st.have < kLayerCount && p != end && *p != '\r' && *p != '\n') st.cell[st.have++] = *p++;
                if (st.have < kLayerCount) {
                    if (p == end) break;
                    ShortCoverLine(st.s, st.col + st.have);
                }
                PutCover(st);
            } else {
                const char* const stop = p + std::min(static_cast<std::size_t>(end - p), width - st.col);
                const char* const q = SkipZeros(p, stop);
                st.col += static_cast<std::size_t>(q - p);
                p = q;
                if (st.col == width) {
                    WidthRead(st);
                } else if (p != end) {
                    if (*p == '\r' || *p == '\n') ShortCoverLine(st.s, st.col);
                    // A cover begins in this cell: its characters before this one were '0'.
                    const std::size_t at = st.col / kLayerCount * kLayerCount;
                    st.have = st.col - at;
                    std::memset(st.cell, '0', st.have);
                    st.col = at;
                    st.inCell = true;
                }
            }
        }
        return end;
    }

    // A cover's seven characters are there: into the list, with the first one below '0'
    // remembered (the line is refused for it once it is known not to be short).
    void PutCover(CoverState& st) {
        LayerCovers c;
        for (int k = 0; k < kLayerCount; ++k) {
            const auto b = static_cast<unsigned char>(st.cell[k]);
            if (b < '0' && st.bad == 0) st.bad = st.col + static_cast<std::size_t>(k) + 1;
            c[k] = static_cast<std::uint8_t>(b - '0');
        }
        Loose x{static_cast<std::int32_t>(st.col / kLayerCount), Cell{}};
        x.cell.species = st.s;
        x.cell.covers = c;
        covered_.push_back(x);
        st.col += kLayerCount;
        st.have = 0;
        st.inCell = false;
        if (st.col == Width()) WidthRead(st);
    }

    void WidthRead(CoverState& st) {
        if (st.bad != 0)
            Fail(2 + static_cast<std::size_t>(st.s),
                 Arg(Tr("%1 文字目: 被度の文字が「0」より小さい値です"), {std::to_string(st.bad)}));
        st.inTail = true;
    }

    void NextCoverLine(CoverState& st) {
        const bool lf = st.lf;
        st = CoverState{st.s + 1};
        st.lf = lf;
        if (st.s <= S_) Step(st.s, TrNoop("被度"));
    }

    // The file ended: the last line may lack its end; a line begun must be whole.
    void CoverBlockEnds(CoverState& st) {
        if (st.inTail) NextCoverLine(st);
        if (st.s > S_) return;
        if (st.col == 0 && !st.inCell) Missing(2 + static_cast<std::size_t>(st.s));
        ShortCoverLine(st.s, st.col + st.have);
    }

    [[noreturn]] void ShortCoverLine(int s, std::size_t length) const {
        Fail(2 + static_cast<std::size_t>(s), Arg(Tr("被度の行が短すぎます（%1 文字必要、%2 文字）"),
                                                  {std::to_string(Width()), std::to_string(length)}));
    }

    // The first byte in [p, end) that is not '0', or end.
    static const char* SkipZeros(const char* p, const char* end) {
#if defined(__SSE2__)
        const __m128i zeros = _mm_set1_epi8('0');
        const auto same = [&](const char* at) {
            return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), zeros);
        };
        while (end - p >= 64) {
            const __m128i all =
                _mm_and_si128(_mm_and_si128(same(p), same(p + 16)), _mm_and_si128(same(p + 32), same(p + 48)));
            if (_mm_movemask_epi8(all) != 0xFFFF) break;
            p += 64;
        }
        while (end - p >= 16) {
            const int mask = _mm_movemask_epi8(same(p));
            if (mask != 0xFFFF) return p + __builtin_ctz(static_cast<unsigned>(~mask));
            p += 16;
        }
#endif
        while (p != end && *p == '0') ++p;
        return p;
    }

    void ReadKeyRow(std::string_view l) {
        const std::size_t line = static_cast<std::size_t>(S_) + 3;
        Look(l);
        FieldReader fields(l);
        std::string_view f;
        int col = 0;
        for (; col <= R_ + 3 && fields.Next(f); ++col) {
            if (col < 3) continue;
            int n = -1;
            const auto r = std::from_chars(f.data(), f.data() + f.size(), n);
            if (r.ec != std::errc() || r.ptr != f.data() + f.size() || n != col - 3) break;
        }
        if (col != R_ + 4) Fail(line, Arg(Tr("列番号 0～%1 の行ではありません"), {std::to_string(R_)}));
    }

    void ReadGridLine(int row, bool itemRow, std::string_view l) {
        const std::size_t line = static_cast<std::size_t>(S_) + 3 + static_cast<std::size_t>(row);
        Look(l);
        FieldReader fields(l);
        std::string_view f;
        const int cols = t_.ColCount();
        for (int col = 0; col < cols; ++col) {
            if (col > 0) col += fields.SkipEmpty(cols - col);
            if (col >= cols || !fields.Next(f)) break;
            if (col == 0 && itemRow) {
                int n = 0;
                const auto r = std::from_chars(f.data(), f.data() + f.size(), n);
                if (r.ec != std::errc() || r.ptr != f.data() + f.size() || n < 1 || n > kItemCount)
                    Fail(line, Tr("先頭の欄が項目番号（1～30）ではありません"));
                items_[static_cast<std::size_t>(row)] = n;
            }
            if (f.empty() || (col == 0 && row > F_)) continue;
            const int q = Table::RelevePosOfColumn(col);
            if (row > F_ && q >= 1 && q <= R_ && f.size() <= 4 && IsAscii(f)) {
                PutText(q, row - F_, f);
            } else if (decided_ || IsAscii(f)) {
                SetLater(col, row, Decode(f, line));
            } else {
                pending_.push_back({col, row, line, arena_.size(), f.size()});
                arena_ += f;
            }
        }
        if (itemRow && items_[static_cast<std::size_t>(row)] == 0)
            Fail(line, Tr("先頭の欄が項目番号（1～30）ではありません"));
    }

    // A cell's text of up to four ASCII characters (most of them) goes into the cell met in
    // the cover block, found by a cursor that moves on with the rows (both come species by
    // species, relevé by relevé), or into a new cell after them.
    void PutText(int q, int p, std::string_view f) {
        const auto before = [&](const Loose& x) { return x.cell.species < p || (x.cell.species == p && x.releve < q); };
        while (cursor_ < coverEnd_ && before(covered_[cursor_])) ++cursor_;
        Cell* c = nullptr;
        if (cursor_ < coverEnd_ && covered_[cursor_].cell.species == p && covered_[cursor_].releve == q) {
            c = &covered_[cursor_].cell;
        } else {
            covered_.push_back(Loose{q, Cell{}});
            c = &covered_.back().cell;
            c->species = p;
        }
        c->len = static_cast<std::uint8_t>(f.size());
        std::memcpy(c->text, f.data(), f.size());
    }

    // Any other text: a cell's is set once the cells are in the table, the rest at once.
    void SetLater(int col, int row, std::string text) {
        if (cellsPut_ || row <= F_ || col < Table::ReleveColumn(1)) t_.SetText(col, row, text);
        else late_.push_back({col, row, std::move(text)});
    }

    // The cells go into the table relevé by relevé, each relevé's at once: a pass in the
    // file's order (species by species) would jump from relevé to relevé for every cell.
    void PutCells() {
        std::vector<std::size_t> start(static_cast<std::size_t>(R_) + 2, 0);
        for (const Loose& x : covered_) {
            if (x.cell.species == 0) t_.SetCovers(t_.ReleveKeyAt(x.releve), 0, x.cell.covers);
            else ++start[static_cast<std::size_t>(x.releve) + 1];
        }
        for (std::size_t q = 1; q < start.size(); ++q) start[q] += start[q - 1];
        std::vector<Cell> cells(start.back());
        {
            std::vector<std::size_t> next(start.begin(), start.end() - 1);
            for (const Loose& x : covered_) {
                if (x.cell.species == 0) continue;
                Cell& c = cells[next[static_cast<std::size_t>(x.releve)]++];
                c = x.cell;
                c.species = t_.SpeciesKeyAt(x.cell.species);
            }
        }
        covered_.clear();
        covered_.shrink_to_fit();
        for (int q = 0; q <= R_; ++q) {
            const std::size_t a = start[static_cast<std::size_t>(q)], b = start[static_cast<std::size_t>(q) + 1];
            if (a < b) t_.SetCells(t_.ReleveKeyAt(q), cells.data() + a, cells.data() + b);
        }
        cellsPut_ = true;
        for (const Late& x : late_) t_.SetText(x.col, x.row, x.text);
        late_.clear();
        late_.shrink_to_fit();
    }

    struct Pending {
        int col, row;
        std::size_t line, at, len;
    };

    struct Late {
        int col, row;
        std::string text;
    };

    // A cell read before the table is made: its relevé position, and its species position
    // in place of the key (0 for the relevé's own covers).
    struct Loose {
        std::int32_t releve;
        Cell cell;
    };

    const std::string& file_;
    Table& t_;
    Progress* progress_;
    std::vector<Loose> covered_;
    std::size_t coverEnd_ = 0, cursor_ = 0;
    std::vector<Late> late_;
    bool cellsPut_ = false;
    std::uint64_t maxBytes_;
    LineReader lines_;
    bool decided_ = false, nonAscii_ = false;
    TextEncoding enc_ = TextEncoding::Cp932;
    std::string title_, arena_;
    std::vector<Pending> pending_;
    int S_ = 0, R_ = 0, F_ = 0;
    std::array<int, kItemCount + 2> items_{};
};

// Bytes in memory as a source.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : b_(bytes) {}
    std::size_t Read(char* buf, std::size_t n) override {
        n = std::min(n, b_.size());
        std::memcpy(buf, b_.data(), n);
        b_.remove_prefix(n);
        return n;
    }
    std::uint64_t MaxBytes() const override { return size_; }

private:
    std::string_view b_;
    std::uint64_t size_ = b_.size();
};

}  // namespace

SaveReport WriteSavedTable(const Table& t, ByteSink& sink, Progress* progress) {
    SaveReport report;
    if (WriteTable(t, TextEncoding::Cp932, sink, report.unencodable, progress)) return report;
    sink.Rewind();
    report.utf8 = true;
    std::string unused;
    WriteTable(t, TextEncoding::Utf8, sink, unused, progress);
    return report;
}

std::string Utf8NoticeMessage(const std::string& path, const SaveReport& report) {
    if (!report.utf8 || report.unencodable.empty()) return {};
    std::string text = report.unencodable;
    if (text.size() > 60) {  // a long cell is named by its start, cut at a character
        std::size_t cut = 60;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text = text.substr(0, cut) + "…";
    }
    return Arg(Tr("%1 は UTF-8 で書きました（「%2」に CP932 で書けない文字があります）"), {path, text});
}

std::string SavedTableBytes(const Table& t) {
    std::string out;
    StringSink sink(out);
    WriteSavedTable(t, sink);
    return out;
}

void ReadSavedTable(ByteSource& src, const std::string& fileName, Table& t, Progress* progress) {
    Loader(src, fileName, t, progress).Run();
}

void ParseSavedTable(std::string_view bytes, const std::string& fileName, Table& t) {
    MemorySource src(bytes);
    ReadSavedTable(src, fileName, t);
}

}  // namespace tavik
