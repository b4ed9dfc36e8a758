#include "core/retrieval.h"

#include <algorithm>
#include <stdexcept>

#include "core/cover_number.h"
#include "core/cp932_width.h"

namespace tavik {

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return s.substr(b, e - b);
}

const std::string& StandardNames::Of(const std::string& trimmedName) {
    auto it = cache_.find(std::string_view(trimmedName));
    if (it != cache_.end()) return it->second;
    return cache_.emplace(trimmedName, dict_.SynToCommonName(trimmedName)).first->second;
}

namespace {

// Whether some layer reaches cover class `coverClass` (10 x class and above; class "+" is 0).
bool ReachesClass(const LayerCovers& covers, int coverClass) {
    for (int l = 0; l < kLayerCount; ++l)
        if (covers[l] >= 10 * coverClass) return true;
    return false;
}

}  // namespace

bool ReleveHasSpecies(const PlantSet& set, const std::string& name, int coverClass,
                      StandardNames& names) {
    for (int e = 1; e <= set.count; ++e) {
        const PlantEntry& entry = set.entries[static_cast<std::size_t>(e)];
        if (ReachesClass(entry.covers, coverClass) && names.Of(entry.name) == name) return true;
    }
    return false;
}

SpeciesRows::SpeciesRows(const Table& t) {
    first_.reserve(static_cast<std::size_t>(t.SpeciesCount()) * 2 + 16);
    for (int p = 1; p <= t.SpeciesCount(); ++p) {
        const int key = t.SpeciesKeyAt(p);
        first_.try_emplace(t.SpeciesName(key), key);
    }
}

int SpeciesRows::Find(const std::string& name) const {
    auto it = first_.find(name);
    return it == first_.end() ? 0 : it->second;
}

void SpeciesRows::Appended(const std::string& name, int speciesKey) {
    first_.try_emplace(name, speciesKey);
}

bool PutTable(Table& t, int n, const PlantSet& set, const ReleveSource& src,
              StandardNames& names, SpeciesRows& rows, NameIdCache<int>* keyOfName) {
    const int relKey = t.ReleveKeyAt(n);
    // Header values: items 2..7 as text, items 8..30 right-aligned in four; item 1 (the
    // serial number) comes from the recount.
    int row = 2;
    for (int item = 2; item <= kItemCount; ++item) {
        if (!t.ItemBoxes[static_cast<std::size_t>(item)].enabled) continue;
        if (row >= t.FNRow()) break;
        std::string v = src.ItemText(item);
        t.SetHeaderText(relKey, row, item <= 7 ? std::move(v) : Cp932Fit(v, 4, Cp932Align::Right));
        ++row;
    }
    LayerCovers record{};
    record[0] = static_cast<std::uint8_t>(set.codeK);
    record[1] = static_cast<std::uint8_t>(set.codeD);
    t.SetReleveRecord(relKey, record);

    for (int e = 1; e <= set.count; ++e) {
        const PlantEntry& entry = set.entries[static_cast<std::size_t>(e)];
        if (entry.covers.empty()) continue;  // a species without covers opens no row
        // Within one pass rows are only appended, so a name keeps the row it first found.
        int spKey = keyOfName ? keyOfName->Get(entry.nameId) : 0;
        if (spKey == 0) {
            const std::string& name = names.Of(entry.name);
            spKey = rows.Find(name);
            if (spKey == 0) {
                const int p = t.AppendSpecies(name);
                if (p == 0) return false;
                spKey = t.SpeciesKeyAt(p);
                rows.Appended(name, spKey);
            }
            if (keyOfName) keyOfName->Set(entry.nameId, spKey);
        }
        t.SetCell(relKey, spKey, LayerCode(entry.covers), entry.covers);
    }
    return true;
}

std::string RecordList(const std::vector<int>& records) {
    std::string s;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i == 20) {
            s += ", ...";
            break;
        }
        if (i) s += ", ";
        s += std::to_string(records[i]);
    }
    return s;
}

std::string SkippedRecordsMessage(std::vector<int> records) {
    if (records.empty()) return {};
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    return "読み取れない測定 " + std::to_string(records.size()) + " 件をとばしました: " + RecordList(records);
}

void Retrieval::Reset(int recordCount) {
    flags_.assign(static_cast<std::size_t>(std::max(recordCount, 0)) + 1, 0);
}

void Retrieval::BeginNewScan() {
    hitCount_ = 0;
    std::fill(flags_.begin(), flags_.end(), 0);
}

bool Retrieval::Marked(int record) const {
    return record >= 1 && record < static_cast<int>(flags_.size()) &&
           flags_[static_cast<std::size_t>(record)] != 0;
}

void Retrieval::CheckConditions(const ScanParams& params) {
    for (const SpeciesCondition& c : params.conditions)
        if (c.coverClass < 0 || c.coverClass >= kCoverClassCount)
            throw std::invalid_argument("被度階級が選ばれていません");
}

ScanResult Retrieval::Scan(ReleveSource& src, const Dictionary& dict, const ScanParams& params,
                           RetrievalProgress* progress) {
    CheckConditions(params);

    const int count = src.RecordCount();
    if (RecordCount() != count) {
        // Flags follow the file; an additional scan keeps those that still apply.
        flags_.resize(static_cast<std::size_t>(std::max(count, 0)) + 1, 0);
    }
    if (!params.additional) BeginNewScan();

    ScanResult res;
    const std::string mesh(TrimBlanks(params.meshPrefix));
    const auto& cond = params.conditions;
    StandardNames names(dict);
    // Per condition and name number: does that written name stand for the condition's name?
    std::vector<NameIdCache<std::int8_t>> same(kConditionCount, NameIdCache<std::int8_t>(-1));
    auto has = [&](const PlantSet& s, int k) {
        for (int e = 1; e <= s.count; ++e) {
            const PlantEntry& entry = s.entries[static_cast<std::size_t>(e)];
            if (!ReachesClass(entry.covers, cond[k].coverClass)) continue;
            std::int8_t m = same[k].Get(entry.nameId);
            if (m < 0) {
                m = names.Of(entry.name) == cond[k].name ? 1 : 0;
                same[k].Set(entry.nameId, m);
            }
            if (m) return true;
        }
        return false;
    };
    PlantSet set;
    const int first = std::max(params.first, 1);
    const int last = std::min(params.last, count);
    for (int i = first; i <= last; ++i) {
        if (progress && progress->Cancelled()) {
            res.cancelled = true;
            break;
        }
        ++res.examined;
        if (!src.ReadReleve(i, set)) {
            res.skipped.push_back(i);
        } else {
            res.lastCodeK = set.codeK;
            res.lastCodeD = set.codeD;
            bool meshOk = mesh.empty();
            if (!meshOk) {
                const std::string code = src.ItemText(7);
                meshOk = code.compare(0, mesh.size(), mesh) == 0 && code.size() >= mesh.size();
            }
            if (meshOk) {
                std::uint8_t& flag = flags_[static_cast<std::size_t>(i)];
                const bool h1 = cond[0].name.empty() || has(set, 0);
                if (h1) flag = cond[0].connective == Connective::None ? 0 : 1;
                else if (cond[0].connective == Connective::None) flag = 1;
                for (int k = 1; k < kConditionCount; ++k) {
                    if (cond[k].name.empty()) break;  // later conditions are not looked at
                    const bool h = has(set, k);
                    const bool f = flag != 0;
                    switch (cond[k].connective) {
                        case Connective::Or: flag = f || h; break;
                        case Connective::And: flag = f && h; break;
                        case Connective::None: flag = f && !h; break;
                    }
                }
            }
        }
        if (flags_[static_cast<std::size_t>(i)]) ++hitCount_;
        if (progress) progress->OnRecord(i, hitCount_);
    }
    res.hits = hitCount_;
    return res;
}

PutResult Retrieval::Put(Table& t, ReleveSource& src, const Dictionary& dict,
                         RetrievalProgress* progress) {
    PutResult res;
    StandardNames names(dict);
    SpeciesRows rows(t);
    NameIdCache<int> keyOfName(0);
    PlantSet set;
    const int count = std::min(src.RecordCount(), RecordCount());
    for (int i = 1; i <= count; ++i) {
        if (!flags_[static_cast<std::size_t>(i)]) continue;
        if (progress && progress->Cancelled()) {
            res.cancelled = true;
            break;
        }
        if (!src.ReadReleve(i, set)) {
            res.skipped.push_back(i);
        } else {
            res.lastCodeK = set.codeK;
            res.lastCodeD = set.codeD;
            const int n = t.AppendReleve();
            if (n == 0 || !PutTable(t, n, set, src, names, rows, &keyOfName)) res.notPlaced.push_back(i);
            if (n != 0) ++res.put;
        }
        if (progress) progress->OnRecord(i, res.put);
    }
    t.Recount();
    return res;
}

}  // namespace tavik
