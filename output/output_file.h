// Output files that replace the user's file only when they are complete: the bytes go to
// a temporary file in the target's folder, which is flushed to disk and renamed over the
// target at Commit(). A file that is dropped (an error, a cancel) leaves no trace and the
// old file as it was.
#pragma once

#include <memory>
#include <string>
#include <stdexcept>
#include <string_view>

#include "formats/codec.h"
#include "output/line_sink.h"

namespace tavik {

class AtomicOutputFile {
public:
    // Creates the temporary. Throws std::runtime_error "<path> に書き込めません" when the
    // folder cannot take it (or the target is a folder).
    explicit AtomicOutputFile(std::string path);
    ~AtomicOutputFile();  // drops the temporary unless committed
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    void Write(std::string_view bytes);  // buffered
    // Flushes, syncs and renames over the target. Throws as the constructor.
    void Commit();
    // For writers that open a file by its name (the spreadsheet library): the temporary's
    // name. Whatever they wrote there is what Commit() puts in place.
    const std::string& TemporaryPath() const { return tmp_; }
    // Commit() for a temporary that another writer filled by its name: the file is synced
    // by that name before it is renamed.
    void CommitWrittenByName();
    const std::string& Path() const { return path_; }

private:
    void Flush();
    [[noreturn]] void Fail();

    std::string path_, target_, tmp_;
    int fd_ = -1;
    std::string buf_;
    bool committed_ = false;
};

// Thrown when the user stops a long output through its Progress; nothing is written.
struct OutputCancelled : std::runtime_error {
    OutputCancelled() : std::runtime_error("出力を取り止めました") {}
};

// Thrown by a CP932 text file when a character has no CP932 form; the writer then starts
// over in UTF-8.
struct NotCp932 {};

// A text file of lines: each line encoded and ended with CR LF.
class TextFileSink : public LineSink {
public:
    TextFileSink(AtomicOutputFile& file, TextEncoding encoding);
    void Line(std::string_view utf8) override;
    // Text without a line end.
    void Text(std::string_view utf8);

private:
    void Append(std::string_view utf8);
    AtomicOutputFile& file_;
    TextEncoding encoding_;
    std::string out_;
};

// Writes a text file through `write`, in CP932 as other programs expect; when some text
// has no CP932 form, the whole file is written again as UTF-8 with a BOM so that nothing
// is lost. The target is replaced only when `write` returns; an exception leaves it as it
// was. `write` may run twice.
template <class Write>
void WriteTextOutput(const std::string& path, Write&& write) {
    for (TextEncoding enc : {TextEncoding::Cp932, TextEncoding::Utf8}) {
        AtomicOutputFile file(path);
        TextFileSink sink(file, enc);
        try {
            write(sink);
        } catch (const NotCp932&) {
            continue;
        }
        file.Commit();
        return;
    }
}

// Appends the CP932 bytes of a UTF-8 text; false (and `out` partly written) when some
// character has no CP932 form. Pieces of non-ASCII text are remembered, so that the names
// and rules that every block repeats are converted once.
bool AppendCp932(std::string& out, std::string_view utf8);

}  // namespace tavik
