#include "output/print_layout.h"

#include <algorithm>

#include "core/cover_number.h"
#include "core/cp932_width.h"
#include "core/messages.h"
#include "output/layout_common.h"
#include "output/output_file.h"
#include "output/text_layout.h"

namespace tavik {

namespace {
constexpr int kCaptionWidth = 32;
const char* const kTooNarrow = TrNoop("用紙の幅が足りません。出力フォントを小さくするか、用紙を横向きにしてください");
}  // namespace

int TextFileDevice::TextWidth(std::string_view utf8) const { return Cp932Width(utf8); }

int FullPrintColumns(const TextDevice& device) {
    const int w = device.TextWidth("01234");
    return w > 0 ? device.PageWidth() / w : 0;
}

int SimplePrintColumns(const TextDevice& device) {
    const int w = device.TextWidth("04");
    return w > 0 ? device.PageWidth() / w : 0;
}

FullPrintBlocks FullPrintBlocksOf(int columns, bool frequency) {
    // A line of the first block is the 32-byte caption column and five bytes a relevé, a
    // line of a further block five bytes a relevé; the frequency adds five bytes to the
    // block it ends, which may be any, so every block keeps room for it. One column stays
    // free, so that a device that measures a little wide does not wrap.
    const int room = columns - 1 - (frequency ? 1 : 0);
    return {room - kCaptionWidth / 5, room};
}

void PrintFull(const Table& t, const OutputOptions& o, TextDevice& device, Progress* progress) {
    const FullPrintBlocks b = FullPrintBlocksOf(FullPrintColumns(device), o.frequency);
    if (b.first < 1) throw PageTooNarrow(Tr(kTooNarrow));
    if (progress) progress->Show(Tr(kPrintMessage), "");
    PrintTableInBlocks(t, o, b.first, b.later, device, progress);
}

std::string SimpleCellCharacter(std::string_view cellText) {
    char best = '*';
    const std::size_t n = std::min<std::size_t>(cellText.size(), 28);
    for (std::size_t i = 0; i < n; ++i) {
        char c = cellText[i];
        // Only the one-byte cover characters compete: a byte of a double-byte character
        // would print half a character.
        if (static_cast<unsigned char>(c) >= 0x80) continue;
        if (c == 'r') c = '+';
        if (static_cast<unsigned char>(c) > static_cast<unsigned char>(best)) best = c;
    }
    if (best == '*') return "･";  // data, not interface: the half-width middle dot
    return std::string(1, best);
}

void PrintSimple(const Table& t, const OutputOptions& options, TextDevice& device, Progress* progress) {
    // Two bytes a relevé, beside the 32-byte caption column in the first block; one
    // column stays free as in the full print.
    const int n = SimplePrintColumns(device);
    const int firstColumns = n - 1 - kCaptionWidth / 2;
    if (firstColumns < 1) throw PageTooNarrow(Tr(kTooNarrow));
    if (progress) progress->Show(Tr(kSimplePrintMessage), "");
    OutputOptions o = options;
    ClampRanges(o, t);
    int w = firstColumns - 1;
    bool first = true;
    int last = o.releveFrom - 1;
    std::string s;
    do {
        if (progress && progress->Cancelled()) throw OutputCancelled();
        const int from = last + 1;
        last = std::min(from + w, o.releveTo);
        const int cols = std::max(0, last - from + 1);
        device.Line("");
        device.Line(first ? std::string_view(o.title) : std::string_view("続き"));  // data, not interface

        const std::string rule = RuleLine(cols * 2 + (first ? kCaptionWidth : 0), 1);
        device.Line(rule);

        // The serial number's last two digits.
        s.clear();
        if (first) AppendCp932Fit(s, t.ItemBoxes[1].caption, kCaptionWidth);
        for (int q = from; q <= last; ++q) {
            const std::string serial(layout::Trim(t.Text(Table::ReleveColumn(q), 1)));
            AppendCp932Fit(s, serial.size() > 2 ? serial.substr(serial.size() - 2) : serial, 2, Cp932Align::Right);
        }
        device.Line(s);
        device.Line(rule);

        // The relevé number written downwards, two bytes a line.
        std::vector<std::vector<std::string>> pieces;
        for (int q = from; q <= last; ++q)
            pieces.push_back(layout::Pieces(t.Text(Table::ReleveColumn(q), 2), 2, 4, true));
        for (int j = 0; j < 4; ++j) {
            s.clear();
            if (first) {
                if (j == 0) AppendCp932Fit(s, t.ItemBoxes[2].caption, kCaptionWidth);
                else s.append(kCaptionWidth, ' ');
            }
            for (const auto& p : pieces) s += p[static_cast<std::size_t>(j)];
            device.Line(s);
        }
        device.Line(rule);

        for (int p = o.speciesFrom; p <= o.speciesTo; ++p) {
            const int row = t.FNRow() + p;
            const int spKey = t.SpeciesKeyAt(p);
            s.clear();
            if (first) {
                AppendCp932Fit(s, Cp932Cut(t.Text(2, row), 28), kCaptionWidth);
            }
            for (int q = from; q <= last; ++q) {
                s += ' ';
                s += SimpleCellCharacter(t.CellText(t.ReleveKeyAt(q), spKey));
            }
            device.Line(s);
        }
        device.Line(rule);
        if (last < o.releveTo) device.Line(kFormFeed);
        if (first) w = n - 2;
        first = false;
    } while (last < o.releveTo);
}

}  // namespace tavik
