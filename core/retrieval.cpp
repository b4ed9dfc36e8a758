#include "core/retrieval.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

#include "core/messages.h"
#include "core/retrieval_passes.h"

namespace tavik {

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return s.substr(b, e - b);
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
    return Arg(Tr("読み取れない測定 %1 件をとばしました: %2"), {std::to_string(records.size()), RecordList(records)});
}

std::string NotPlacedRecordsMessage(const std::vector<int>& records) {
    if (records.empty()) return {};
    return Arg(Tr("表が大きくなれず組み込めなかった測定 %1 件: %2"),
               {std::to_string(records.size()), RecordList(records)});
}

// ---- Readers ------------------------------------------------------------------------------

namespace {

// Reads through ReleveSource::ReadReleve and ItemText, numbering the written names itself.
class PlantSetReader : public ReleveReader {
public:
    explicit PlantSetReader(ReleveSource& src) : src_(src) {}

    bool Read(int i, DecodedReleve& out) override {
        const bool ok = src_.ReadReleve(i, set_);
        current_ = i;
        out.codeK = set_.codeK;
        out.codeD = set_.codeD;
        out.species.clear();
        for (int e = 1; e <= set_.count; ++e) {
            const PlantEntry& p = set_.entries[static_cast<std::size_t>(e)];
            const auto [it, added] = ids_.try_emplace(p.name, static_cast<std::uint32_t>(names_.size()));
            if (added) names_.push_back(p.name);
            out.species.push_back(SpeciesEntry{it->second, p.covers});
        }
        return ok;
    }
    std::string Item(int i, int n) override {
        if (i != current_) {
            src_.ReadReleve(i, set_);
            current_ = i;
        }
        return src_.ItemText(n);
    }
    std::string NameOf(std::uint32_t name) override { return names_[name]; }

private:
    ReleveSource& src_;
    PlantSet set_;
    int current_ = 0;
    std::unordered_map<std::string, std::uint32_t> ids_;
    std::vector<std::string> names_;
};

}  // namespace

std::unique_ptr<ReleveReader> ReleveSource::NewReader() { return std::make_unique<PlantSetReader>(*this); }

ReaderPool::ReaderPool(ReleveSource& src, int threads) {
    for (int i = 0; i < threads; ++i) free_.push_back(src.NewReader());
    // A source that reads on one thread only has one reader, shared with the pass.
    main_ = src.ConcurrentReaders() ? src.NewReader() : nullptr;
}

std::unique_ptr<ReleveReader> ReaderPool::Take() {
    std::lock_guard lock(m_);
    auto r = std::move(free_.back());
    free_.pop_back();
    return r;
}

void ReaderPool::Give(std::unique_ptr<ReleveReader> r) {
    std::lock_guard lock(m_);
    free_.push_back(std::move(r));
}

Retrieval::Retrieval() = default;
Retrieval::~Retrieval() = default;
Retrieval::Retrieval(Retrieval&&) noexcept = default;
Retrieval& Retrieval::operator=(Retrieval&&) noexcept = default;

void Retrieval::ForgetKept() { kept_.reset(); }

int Retrieval::KeptCount() const {
    if (!kept_) return 0;
    int n = 0;
    for (int i = 1; i <= RecordCount() && static_cast<std::size_t>(i) < kept_->refs.size(); ++i)
        if (flags_[static_cast<std::size_t>(i)] && kept_->refs[static_cast<std::size_t>(i)].kept) ++n;
    return n;
}

void Retrieval::Reset(int recordCount) {
    flags_.assign(static_cast<std::size_t>(std::max(recordCount, 0)) + 1, 0);
    ForgetKept();
}

void Retrieval::BeginNewScan() {
    hitCount_ = 0;
    std::fill(flags_.begin(), flags_.end(), 0);
    ForgetKept();
}

bool Retrieval::Marked(int record) const {
    return record >= 1 && record < static_cast<int>(flags_.size()) && flags_[static_cast<std::size_t>(record)] != 0;
}

void Retrieval::CheckConditions(const ScanParams& params) {
    for (const SpeciesCondition& c : params.conditions)
        if (c.coverClass < 0 || c.coverClass >= kCoverClassCount)
            throw std::invalid_argument(Tr("被度階級が選ばれていません"));
}

}  // namespace tavik
