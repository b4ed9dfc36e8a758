// Readers of the second window's files: any bytes, read as a CSV file or merged as a text
// file, either fill the table or are refused with a message naming the file, and a refused
// file leaves the table as it was. The first byte chooses the reader.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "core/freq_table.h"
#include "formats/freq_table_files.h"

namespace {

// A small table as the window holds one: labels in row 0 and column 0.
tavik::FreqTable Start() {
    tavik::FreqTable t;
    t.Resize(3, 3);
    t.SetText(1, 0, "I");
    t.SetText(2, 0, "II");
    t.SetText(0, 1, "ブナ");
    t.SetText(1, 1, "V");
    t.SetText(0, 2, "ミズナラ");
    t.SetText(2, 2, "III");
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool csv = data[0] % 2 == 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    tavik::FreqTable t = Start();
    const std::string before = tavik::FreqTableCsvLines(t);
    try {
        if (csv) tavik::ReadFreqTableCsvBytes(bytes, "fuzz.csv", t);
        else tavik::MergeFreqTableTextBytes(bytes, "fuzz.txt", t);
    } catch (const std::runtime_error& e) {
        const std::string m = e.what();
        if (m.rfind(csv ? "fuzz.csv" : "fuzz.txt", 0) != 0) std::abort();  // names the file
        if (tavik::FreqTableCsvLines(t) != before) std::abort();           // all or nothing
        return 0;
    }
    if (t.ColCount() < 1 || t.RowCount() < 1) std::abort();
    if (static_cast<long long>(t.ColCount()) * t.RowCount() > tavik::kMaxFreqCells + 3 * 3) std::abort();
    // What was read can be written as CSV; the text file refuses only line ends, which its
    // lines cannot hold.
    (void)tavik::EncodeFreqTableFile(tavik::FreqTableCsvLines(t));
    try {
        (void)tavik::EncodeFreqTableFile(tavik::FreqTableTextLines(t, "2026/12/07"));
    } catch (const std::runtime_error& e) {
        if (std::string(e.what()).find("改行があります") == std::string::npos) std::abort();
    }
    return 0;
}
