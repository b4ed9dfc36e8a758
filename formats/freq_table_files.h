// The files and texts of the second window's table: the compatible text file ("#T", "#S",
// "#E" blocks), the CSV file, the clipboard text and the printed lines. Files are written
// in CP932 with CR LF (UTF-8 with a BOM when some text has no CP932 form), atomically.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/freq_table.h"
#include "formats/atomic_file.h"
#include "formats/codec.h"
#include "formats/text_lines.h"

namespace tavik {

// Today in the short date form the text file carries ("2026/12/07").
std::string ShortDateToday();

// "#T", the date, the caption; then per column j >= 1 a block "#S", "label,cell" for every
// row whose cell is neither empty nor "・", "#E" and an empty line. A label that holds a
// comma or begins with "#" or a quote is quoted as a CSV field; a caption, label or cell
// with a line end cannot be written (std::runtime_error naming it).
std::string FreqTableTextLines(const FreqTable& t, const std::string& date);
// A constancy table with the fidelity of its species (MakeSynopticTable): it has row blocks.
bool IsSynopticTable(const FreqTable& t);
// The caption (quoted only when it holds a line end or begins with a quote), then one line
// per row: the cells joined with ",", each quoted where a spreadsheet or our reader would
// otherwise take it differently (CsvField). A synoptic table has per row the name, per
// group the class, per group phi × 100 (a number, blank where there is none; the heading row
// names the column "A φ×100"), and last the labels of the groups for which the species is
// diagnostic, joined with a blank ("診断種の群" in the heading row).
std::string FreqTableCsvLines(const FreqTable& t);

// Per row the cells joined with TAB, each row ended by CR LF.
std::string FreqTableClipboardText(const FreqTable& t);

// The texts above as file bytes, and written to a file (temporary beside it, renamed over
// the old one only when complete). Writing throws std::runtime_error naming the file, and
// ReadOnlyFileError for a read-only file unless told to replace it. With `encoding` UTF-8
// the file is UTF-8 with a BOM by choice.
std::string EncodeFreqTableFile(const std::string& lines, TextEncoding encoding = TextEncoding::Cp932);
void WriteFreqTableText(const std::string& path, const FreqTable& t, const std::string& date,
                        AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse,
                        TextEncoding encoding = TextEncoding::Cp932);
void WriteFreqTableCsv(const std::string& path, const FreqTable& t,
                       AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse,
                       TextEncoding encoding = TextEncoding::Cp932);

// A CSV field: quoted ("" for a quote inside) when `always`, or when the text holds a comma,
// a quote, a "~", a control character (TAB, line ends), or begins or ends with a blank;
// otherwise the text as it is.
std::string CsvField(const std::string& text, bool always = false);

// The records of a CSV file, one at a time: fields separated by ","; a field that begins with
// a quote is read up to its closing quote ("" for a quote inside), going on over line ends
// with the line end the file has there; an unquoted field is the text between the commas
// exactly. A line ending in a comma has an empty last field. Physical lines are joined only
// while a quote is open, so memory follows the longest record, not the number of lines.
class CsvRecordReader {
public:
    CsvRecordReader(TextLineFile& lines, std::string fileName) : lines_(lines), name_(std::move(fileName)) {}
    // The next record into `fields`; false at the end. Throws std::runtime_error naming the
    // record's first line for a quote never closed.
    bool Next(std::vector<std::string>& fields);
    // The 1-based line where the record last read began.
    std::size_t FirstLine() const { return first_; }

private:
    TextLineFile& lines_;
    std::string name_;
    std::string line_;
    std::size_t first_ = 0;
};

// The fields of one line by the comma-text rules: blanks and control characters around
// fields are skipped and also separate fields, "," separates, a field may be quoted with
// "" standing for one quote, and nothing after the last comma gives no field.
std::vector<std::string> SplitCommaText(std::string_view line);

// Limits of a table read from a file: a file beyond them is not one the window wrote.
inline constexpr int kMaxFreqColumns = 1024;
inline constexpr long long kMaxFreqCells = 4'000'000;

// Replaces the table by a CSV file: the caption from line 1 (unquoted when the writer quoted
// it), a row per further record (CsvRecordReader), as many columns as the longest row. Files
// of earlier versions, which quoted nothing, read as before, except that "~" stays "~" and a
// TAB stays inside its cell. Fixed rows, fixed columns and widths stay (fewer when
// the new table has not enough rows or columns for them). All or nothing: a file that is
// not such a table (undecodable bytes, no rows, too many columns) throws
// std::runtime_error naming the file and line, and the table stays as it was.
void ReadFreqTableCsv(const std::string& path, FreqTable& t);
void ReadFreqTableCsvBytes(std::string_view bytes, const std::string& fileName, FreqTable& t);

// Merges a text file: the table is first trimmed of trailing columns without a label in
// row 0 and trailing rows without a label in column 0; then every "#S" block adds one column
// at the right, its lines "label,value" going to the first row of that label (a new row at
// the bottom when there is none), values cut to 36 bytes; a label that begins with a quote
// is a quoted field. Lines after "#T" (the date and the caption) are never marks. Empty lines
// inside a block are skipped. A mark is a line that begins with "#" and has no comma; a block
// must end with "#E": another mark or the end of the file is an error naming the line. All
// or nothing, as the CSV reader.
void MergeFreqTableText(const std::string& path, FreqTable& t);
void MergeFreqTableTextBytes(std::string_view bytes, const std::string& fileName, FreqTable& t);

// The printed lines: the caption, then one line per row. Constancy layout: column 0 in 28
// cells, every further column in 7 cells (3 when column 0 is more than five times as wide
// as column 1). Score layout: name in 28, score right-aligned in at least 5, three blanks,
// relevé label in 7, its score right-aligned in at least 5; the spacer column is left out.
// With a `pageWidth` (CP932 bytes) the constancy layout puts as many groups in a block as
// fit beside column 0; further blocks follow after "\f" and a line "続き".
std::vector<std::string> FreqTablePrintLines(const FreqTable& t, bool constancyLayout, int pageWidth = 0);

}  // namespace tavik
