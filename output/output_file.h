// Text output files: lines encoded in CP932 (or, when a text has no CP932 form, UTF-8 with
// a BOM), ended with CR LF, written through AtomicFile so that the user's file is replaced
// only by a complete one and a failed or cancelled output leaves no trace.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "formats/atomic_file.h"
#include "formats/byte_sink.h"
#include "formats/codec.h"
#include "output/line_sink.h"

namespace tavik {

// Thrown when the user stops a long output through its Progress; nothing is written.
struct OutputCancelled : std::runtime_error {
    OutputCancelled() : std::runtime_error(Tr("出力を取り止めました")) {}
};

// Thrown by a CP932 text file when a character has no CP932 form; the writer then starts
// over in UTF-8.
struct NotCp932 {};

// What an output reports when it is done.
struct OutputReport {
    bool utf8 = false;   // the file is UTF-8 with a BOM
    bool asked = false;  // ... because the user chose UTF-8 (else: some text had no CP932 form)
};

// A read-only file of the chosen name is refused unless the user said to replace it.
using ReadOnlyTarget = AtomicFile::ReadOnlyTarget;

// A text file of lines: each line encoded and ended with CR LF.
class TextFileSink : public LineSink {
public:
    TextFileSink(ByteSink& file, TextEncoding encoding);
    void Line(std::string_view utf8) override;
    // Text without a line end.
    void Text(std::string_view utf8);

private:
    void Append(std::string_view utf8);
    ByteSink& file_;
    TextEncoding encoding_;
    std::string out_;
};

// Writes a text file through `write`, in CP932 as other programs expect; when some text
// has no CP932 form, the whole file is written again as UTF-8 with a BOM so that nothing
// is lost; with `encoding` UTF-8 it is written as UTF-8 with a BOM at once. The target is
// replaced only when `write` returns; an exception leaves it as it
// was. `write` may run twice.
template <class Write>
OutputReport WriteTextOutput(const std::string& path, Write&& write, ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse,
                             TextEncoding encoding = TextEncoding::Cp932) {
    AtomicFile file(path, readOnly);
    if (encoding == TextEncoding::Utf8) {
        // The user's choice: UTF-8 with a BOM, which spreadsheets in any locale read.
        TextFileSink sink(file, TextEncoding::Utf8);
        write(sink);
        file.Commit();
        return {true, true};
    }
    try {
        TextFileSink sink(file, TextEncoding::Cp932);
        write(sink);
        file.Commit();
        return {};
    } catch (const NotCp932&) {
    }
    file.Rewind();
    TextFileSink sink(file, TextEncoding::Utf8);
    write(sink);
    file.Commit();
    return {true};
}

// Two text files that belong together (a matrix and its species list): both are written
// to temporaries, each in CP932 or, when it must, UTF-8 with a BOM, and neither replaces
// its old file unless both are complete (AtomicFile::CommitTogether).
template <class WriteFirst, class WriteSecond>
OutputReport WriteTextPair(const std::string& firstPath, WriteFirst&& writeFirst, const std::string& secondPath,
                           WriteSecond&& writeSecond, ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse,
                           TextEncoding encoding = TextEncoding::Cp932) {
    AtomicFile first(firstPath, readOnly), second(secondPath, readOnly);
    const bool asked = encoding == TextEncoding::Utf8;
    bool utf8 = asked;
    const auto fill = [&utf8, asked](AtomicFile& file, auto& write) {
        if (!asked) try {
                TextFileSink sink(file, TextEncoding::Cp932);
                write(sink);
                return;
            } catch (const NotCp932&) {
            }
        file.Rewind();
        TextFileSink sink(file, TextEncoding::Utf8);
        write(sink);
        utf8 = true;
    };
    fill(first, writeFirst);
    fill(second, writeSecond);
    AtomicFile::CommitTogether(first, second);
    return {utf8, asked};
}

// The notice for a file that had to be written as UTF-8; empty when it is CP932.
std::string Utf8OutputNotice(const std::string& path, const OutputReport& report);

// Appends the CP932 bytes of a UTF-8 text; false (and `out` partly written) when some
// character has no CP932 form. Pieces of non-ASCII text are remembered, so that the names
// and rules that every block repeats are converted once.
bool AppendCp932(std::string& out, std::string_view utf8);

}  // namespace tavik
