// Making names and site values fit the field-data records, each only when the user asks:
// letters with diacritics to their base letters, botanical abbreviations and a cut for long
// names, and numbers rounded to the width of their field.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// Latin letters with diacritics become their base letters (á → a, Ł → L), ligatures and
// special letters their usual spelling (ß → ss, æ → ae, þ → th); combining marks are dropped.
// Every other character stays.
std::string TransliterateLatin(std::string_view utf8);

// A name of at most `maxBytes` CP932 bytes: when longer, the rank words are abbreviated
// (subsp. and subspecies → ssp., variety and varietas → var., forma → f., cultivar → cv.,
// aggregate → agg., sensu lato → s.l., sensu stricto → s.str.), and what is still too long
// is cut between two characters. A name that fits is returned as it is.
std::string ShortenName(std::string_view utf8, int maxBytes);

// A number rounded to as many decimals as fit in `width` bytes (half away from zero:
// 139.9 → 140 and 12.345 → 12.3 for 4 bytes); "," may stand for the decimal
// point. Empty when `text` is not a plain decimal number or its whole part does not fit.
// A value that rounds to zero loses its sign (-0.04 → 0.0 for 4 bytes).
std::string RoundNumberToWidth(std::string_view text, std::size_t width);

}  // namespace tavik
