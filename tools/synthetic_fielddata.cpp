#include "tools/synthetic_fielddata.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

#include "formats/codec.h"
#include "formats/fielddata_writer.h"

namespace tavik::tools {

namespace {

// Written name i: the first names - usedSynonyms are standard names, the rest synonyms.
std::string StandardName(int i) { return "標準種" + std::to_string(i); }
std::string SynonymName(int i) { return "ｲﾒｲ Syn " + std::to_string(i); }

}  // namespace

void WriteSyntheticFieldData(const std::string& indexPath, const std::string& dicPath,
                             const SyntheticFieldShape& shape) {
    const int standards = shape.names - shape.usedSynonyms;
    if (standards <= 0) throw std::invalid_argument("more synonyms than names");
    std::vector<std::string> written(static_cast<std::size_t>(shape.names));
    for (int i = 0; i < standards; ++i) written[static_cast<std::size_t>(i)] = StandardName(i);
    for (int i = 0; i < shape.usedSynonyms; ++i) written[static_cast<std::size_t>(standards + i)] = SynonymName(i);
    // Interleave synonyms among the standard names so that common species have them too.
    std::mt19937 rng(shape.seed);
    std::shuffle(written.begin(), written.end(), rng);

    // The dictionary: the used synonyms first, then lines the data never use.
    std::string dic;
    for (int i = 0; i < shape.synonyms; ++i) {
        const std::string syn = i < shape.usedSynonyms ? SynonymName(i) : "未使用異名" + std::to_string(i);
        dic += syn + "," + StandardName(i % standards) + "\r\n";
    }
    {
        std::string bytes;
        if (!Utf8ToCp932(dic, bytes)) throw std::runtime_error("dictionary text");
        std::ofstream out(dicPath, std::ios::binary);
        out << bytes;
        if (!out) throw std::runtime_error(dicPath + " に書き込めません");
    }

    FieldHeaderDescription header;
    header.title = "合成データ";
    FieldDataWriter w(indexPath, header);
    static const char* const kCovers[] = {"+", "+2", "r", "1", "11", "2", "22", "3", "33", "4", "5", "e", "("};
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::uniform_int_distribution<int> layerCount(1, 3), layer(0, 6), cover(0, 12);
    std::uniform_int_distribution<int> size(shape.perReleve * 4 / 5, shape.perReleve * 6 / 5);
    std::vector<int> chosen;
    FieldReleve r;
    for (int q = 1; q <= shape.releves; ++q) {
        r.key = "S" + std::to_string(q);
        r.items = {};
        r.items[2] = r.key;
        r.items[3] = "地点" + std::to_string(q % 100);
        r.items[4] = std::to_string(19800101 + q % 400);
        r.items[7] = std::to_string(53390000 + q % 9000);
        r.items[8] = std::to_string(q % 2000);
        r.items[9] = "N" + std::to_string(q % 90);
        r.items[15] = std::to_string(100 + q % 300);
        r.items[20] = "0.5";
        r.items[27] = std::to_string(q % 100);
        r.entries.clear();
        chosen.clear();
        const int n = size(rng);
        while (static_cast<int>(chosen.size()) < n) {
            // Skewed: a few common species, many rare ones.
            const double x = u(rng);
            const int s = std::min(shape.names - 1, static_cast<int>(shape.names * x * x * x));
            if (std::find(chosen.begin(), chosen.end(), s) != chosen.end()) continue;
            chosen.push_back(s);
            FieldEntry e;
            e.name = written[static_cast<std::size_t>(s)];
            for (int k = layerCount(rng); k > 0; --k)
                e.covers[static_cast<std::size_t>(layer(rng))] = kCovers[cover(rng)];
            r.entries.push_back(std::move(e));
        }
        w.Add(r);
    }
    w.Finish();
}

}  // namespace tavik::tools
