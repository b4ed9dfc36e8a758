// Printing the composition table through a line-oriented text device: the full print (the
// layered text layout, with column blocks as wide as the page) and the simple print (one
// character per cell, the highest cover class, two bytes per relevé).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "core/progress.h"
#include "core/table.h"
#include "output/line_sink.h"
#include "output/options.h"

namespace tavik {

// What printing needs of a printer: lines drawn one under another in the device's font
// (a line wider than the page continues on the next one; "\f" starts a new page), the
// page width and the width of a text, both in the device's units.
class TextDevice : public LineSink {
public:
    virtual int PageWidth() const = 0;
    virtual int TextWidth(std::string_view utf8) const = 0;
};

// A text device that writes its lines to another sink (a text file): a text's width is
// its CP932 byte count, and the page is `pageWidth` bytes wide.
class TextFileDevice : public TextDevice {
public:
    TextFileDevice(LineSink& out, int pageWidth) : out_(out), pageWidth_(pageWidth) {}
    void Line(std::string_view utf8) override { out_.Line(utf8); }
    int PageWidth() const override { return pageWidth_; }
    int TextWidth(std::string_view utf8) const override;

private:
    LineSink& out_;
    int pageWidth_;
};

// The page does not take the narrowest layout in the output font: nothing is printed.
struct PageTooNarrow : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Five-byte columns ("01234") / two-byte columns ("04") across the device's page.
int FullPrintColumns(const TextDevice& device);
int SimplePrintColumns(const TextDevice& device);

// The relevé columns of the full print's first and further blocks for a page of `columns`
// five-byte columns, so that no line passes the page (the frequency column counted in).
struct FullPrintBlocks {
    int first, later;
};
FullPrintBlocks FullPrintBlocksOf(int columns, bool frequency);

// 組成表を直接印刷: the layout of the text file in blocks of FullPrintBlocksOf. Throws
// PageTooNarrow before writing anything when not one relevé fits beside the caption
// column. The table's counts must be current.
void PrintFull(const Table& t, const OutputOptions& o, TextDevice& device, Progress* progress = nullptr);

// 表を省略簡易印刷: N − 17 relevé columns in the first block (beside the 32-byte caption
// column) and N − 1 in the others, N being SimplePrintColumns, so that no line passes the
// page. Throws PageTooNarrow when not one relevé fits.
void PrintSimple(const Table& t, const OutputOptions& o, TextDevice& device, Progress* progress = nullptr);

// The character the simple print shows for a cell text: the highest cover class of the
// cell ("+" for r), "e" when a layer group holds e, the half-width middle dot for an empty
// cell.
std::string SimpleCellCharacter(std::string_view cellText);

// The work messages of the two prints, shown through Tr().
inline constexpr const char* kPrintMessage = TrNoop("　組成表を印刷しています　");
inline constexpr const char* kSimplePrintMessage = TrNoop("　組成表の簡易印刷をしています　");

}  // namespace tavik
