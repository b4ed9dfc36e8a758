// The saved composition table (".vtb"): the title, the counts, the layered covers of every
// cell, and the text of every fixed and species row in screen order. Keys are renumbered
// on the way, so a loaded table has keys equal to positions.
#pragma once

#include <string>
#include <string_view>

#include "core/progress.h"
#include "core/table.h"
#include "formats/byte_sink.h"
#include "formats/byte_source.h"

namespace tavik {

// How a table was written.
struct SaveReport {
    bool utf8 = false;        // as UTF-8 with a BOM instead of CP932
    std::string unencodable;  // the first text that has no CP932 form (empty when utf8 is
                              // only because the CP932 bytes would read as UTF-8)
};

// Writes the file for a table as it is made, a line at a time: CP932 with CR LF, or UTF-8
// with a BOM when some text has no CP932 form or its CP932 bytes would read as UTF-8 (the
// sink is then rewound and the file written again). Line breaks inside texts become blanks
// (they would split the line). The table is not changed. Throws std::runtime_error for a
// cover value above 207, which the cover block cannot hold, and whatever the sink throws.
// With `progress`, the rows written are shown now and then, and a stop throws WorkStopped.
SaveReport WriteSavedTable(const Table& t, ByteSink& sink, Progress* progress = nullptr);
// What the user is told when a table had to be written as UTF-8 because of a text without
// a CP932 form: names the file and that text. Empty when there is nothing to tell.
std::string Utf8NoticeMessage(const std::string& path, const SaveReport& report);
// The same into memory.
std::string SavedTableBytes(const Table& t);

// Fills `t` from a saved table's bytes: counts, covers, texts, item boxes (all disabled and
// unchecked except the items that have header rows, which take their captions from the
// file), CodeD 2, then the recount. `t` brings what the file does not hold (font, CodeK,
// the captions of items without header rows); pass a fresh table and keep it only when
// this returns. Throws std::runtime_error naming `fileName`, the line and the problem.
void ParseSavedTable(std::string_view bytes, const std::string& fileName, Table& t);
// The same from a source read as it arrives (a file, plain or compressed): memory follows the
// table and the longest line, never the size of the file, and the counts the file claims
// are trusted only once its lines are there. With `progress`, the rows read are shown now
// and then, and a stop throws WorkStopped.
void ReadSavedTable(ByteSource& src, const std::string& fileName, Table& t, Progress* progress = nullptr);

}  // namespace tavik
