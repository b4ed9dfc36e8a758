// CSV as spreadsheets write it, and what make-fielddata does with its cells: any bytes give
// records or an error; lines only move forward; every cell converts in every cover scale
// without fault; fitted names and numbers keep their promises.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/cp932_width.h"
#include "formats/cover_scales.h"
#include "formats/csv_reader.h"
#include "formats/name_fitting.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavik;
    std::vector<std::string_view> cells;
    try {
        CsvReader csv(std::string(reinterpret_cast<const char*>(data), size), "fuzz.csv");
        std::size_t line = 0;
        while (csv.Next(cells)) {
            if (cells.empty() || csv.Line() <= line) std::abort();
            line = csv.Line();
            for (const std::string_view cell : cells) {
                for (int s = 0; s <= static_cast<int>(CoverScale::Presence); ++s) {
                    const CoverConversion c = ConvertCover(static_cast<CoverScale>(s), cell);
                    if (c.kind == CoverConversion::Cover && (c.text.empty() || c.text.size() > 3)) std::abort();
                }
                if (Cp932Width(ShortenName(TransliterateLatin(cell), 28)) > 28) std::abort();
                const std::string rounded = RoundNumberToWidth(cell, 4);
                if (rounded.size() > 4) std::abort();
            }
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
