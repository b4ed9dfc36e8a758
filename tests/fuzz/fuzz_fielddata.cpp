// The field-data reader and the header-record parser on arbitrary bytes: the input is
// split into an index file and a data file; every relevé record is read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/retrieval.h"
#include "formats/fielddata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes say where the index file ends (in 16-byte steps, so that whole
    // records fit), the rest is the data file.
    const std::size_t split = std::min<std::size_t>(size - 2, (bytes[0] | (bytes[1] << 8)) * 16u);
    const std::string index(reinterpret_cast<const char*>(bytes) + 2, split);
    const std::string data(reinterpret_cast<const char*>(bytes) + 2 + split, size - 2 - split);

    tavik::FieldFiles files(index, data);
    const tavik::DataHeader h = tavik::ParseDataHeader(files.HeaderRecord(), files.Utf8());
    tavik::Table table;
    tavik::ApplyDataHeader(h, table, "fuzz.tki");

    tavik::PlantSet set;
    for (int i = 0; i <= files.RecordCount() + 1; ++i) {
        files.ReadReleve(i, set);
        for (int n = 2; n <= tavik::kItemCount; ++n) (void)files.ItemText(n);
        if (set.count < 0 || static_cast<std::size_t>(set.count) >= set.entries.size() + 1) __builtin_trap();
    }
    // A whole pass into a table, with a condition.
    tavik::Retrieval r;
    r.Reset(files.RecordCount());
    tavik::ScanParams p;
    p.conditions[0].name = "a";
    p.conditions[0].connective = tavik::Connective::None;
    p.meshPrefix = "53";
    r.Scan(files, tavik::Dictionary(), p);
    r.Put(table, files, tavik::Dictionary());
    return 0;
}
