// The scan: every record of the range read on the pass's threads, its mark decided by the
// conditions, and the marks, counts and progress taken up record by record in order.
#include <algorithm>
#include <atomic>
#include <mutex>

#include "core/condition_matcher.h"
#include "core/ordered_chunks.h"
#include "core/retrieval.h"
#include "core/retrieval_passes.h"

namespace tavik {

namespace {

enum Outcome : std::uint8_t {
    kUnreadable,  // skipped
    kNotLooked,   // read, but the mesh code does not match: the flag stays
    kCleared,
    kMarked,
};

// What the threads found in one chunk of records.
struct ScanChunk {
    std::vector<std::uint8_t> outcome;
    std::vector<int> codeK, codeD;
    // The species of marked relevés, for the putting pass.
    std::vector<int> keptRecords;
    std::vector<std::uint32_t> keptStart;
    std::vector<SpeciesEntry> keptEntries;
};

}  // namespace

class Retrieval::Kept::ScanPass {
public:
    ScanPass(Retrieval& r, ReleveSource& src, const Dictionary& dict, const ScanParams& params,
             RetrievalProgress* progress)
        : r_(r), src_(src), dict_(dict), params_(params), progress_(progress), mesh_(TrimBlanks(params.meshPrefix)),
          first_(std::max(params.first, 1)), last_(std::min(params.last, src.RecordCount())),
          threads_(src.ConcurrentReaders() ? WorkerThreads() : 1) {}

    ScanResult Run() {
        if (last_ >= first_) {
            PrepareKept();
            ReaderPool readers(src_, threads_);
            readers_ = &readers;
            for (int i = 0; i < threads_; ++i)
                matchers_.push_back(std::make_unique<ConditionMatcher>(params_.conditions, dict_));
            const int chunks = (last_ - first_) / kScanChunk + 1;
            results_.resize(static_cast<std::size_t>(chunks));
            RunOrderedChunks(
                chunks, threads_, threads_ * 4, [this](int c) { Work(c); }, [this](int c) { return Take(c); });
        }
        res_.hits = r_.hitCount_;
        return std::move(res_);
    }

private:
    // What the scans kept stays while the source does; a source that says what it holds
    // gets its marked relevés kept.
    void PrepareKept() {
        const std::string identity = src_.Identity();
        if (r_.kept_ && r_.kept_->identity != identity) r_.ForgetKept();
        keep_ = !identity.empty() && r_.keepBudget_ > 0;
        if (keep_ && !r_.kept_) {
            r_.kept_ = std::make_unique<Kept>();
            r_.kept_->identity = identity;
            r_.kept_->refs.resize(r_.flags_.size());
        }
        keptBytes_ = r_.kept_ ? r_.kept_->bytes : 0;
    }

    std::unique_ptr<ConditionMatcher> TakeMatcher() {
        std::lock_guard lock(matchersMutex_);
        auto m = std::move(matchers_.back());
        matchers_.pop_back();
        return m;
    }
    void GiveMatcher(std::unique_ptr<ConditionMatcher> m) {
        std::lock_guard lock(matchersMutex_);
        matchers_.push_back(std::move(m));
    }

    // On a worker: reads the records of chunk c and decides their marks.
    void Work(int c) {
        const int a = first_ + c * kScanChunk;
        const int b = std::min(last_, a + kScanChunk - 1);
        std::unique_ptr<ReleveReader> reader = readers_->Take();
        std::unique_ptr<ConditionMatcher> matcher = TakeMatcher();
        ScanChunk& out = results_[static_cast<std::size_t>(c)];
        const std::size_t n = static_cast<std::size_t>(b - a + 1);
        out.outcome.assign(n, kUnreadable);
        out.codeK.assign(n, 0);
        out.codeD.assign(n, 0);
        DecodedReleve rel;
        for (int i = a; i <= b; ++i) {
            const std::size_t at = static_cast<std::size_t>(i - a);
            if (!reader->Read(i, rel)) continue;
            out.codeK[at] = rel.codeK;
            out.codeD[at] = rel.codeD;
            if (!mesh_.empty()) {
                const std::string code = reader->Item(i, 7);
                if (code.size() < mesh_.size() || code.compare(0, mesh_.size(), mesh_) != 0) {
                    out.outcome[at] = kNotLooked;
                    continue;
                }
            }
            // The record's own flag, only read here: the calling thread writes it later.
            const bool flag = matcher->Mark(r_.flags_[static_cast<std::size_t>(i)] != 0, rel.species, *reader);
            out.outcome[at] = flag ? kMarked : kCleared;
            if (flag && keep_) Keep(out, i, rel);
        }
        out.keptStart.push_back(static_cast<std::uint32_t>(out.keptEntries.size()));
        if (out.keptEntries.capacity() > out.keptEntries.size() + out.keptEntries.size() / 4)
            out.keptEntries.shrink_to_fit();
        GiveMatcher(std::move(matcher));
        readers_->Give(std::move(reader));
    }

    // Keeps the species of marked record i for the putting pass while the budget allows.
    void Keep(ScanChunk& out, int i, const DecodedReleve& rel) {
        const std::size_t bytes = rel.species.size() * sizeof(SpeciesEntry) + 16;
        if (keptBytes_.fetch_add(bytes) + bytes > r_.keepBudget_) {
            keptBytes_.fetch_sub(bytes);
            return;
        }
        out.keptRecords.push_back(i);
        out.keptStart.push_back(static_cast<std::uint32_t>(out.keptEntries.size()));
        out.keptEntries.insert(out.keptEntries.end(), rel.species.begin(), rel.species.end());
    }

    // On the calling thread, in chunk order: the marks, counts and progress of chunk c.
    bool Take(int c) {
        ScanChunk& in = results_[static_cast<std::size_t>(c)];
        const int a = first_ + c * kScanChunk;
        const int n = static_cast<int>(in.outcome.size());
        int taken = 0;
        bool more = true;
        for (; taken < n; ++taken) {
            const int i = a + taken;
            if (progress_ && progress_->Cancelled()) {
                res_.cancelled = true;
                more = false;
                break;
            }
            ++res_.examined;
            const std::size_t at = static_cast<std::size_t>(taken);
            std::uint8_t& flag = r_.flags_[static_cast<std::size_t>(i)];
            switch (in.outcome[at]) {
                case kUnreadable: res_.skipped.push_back(i); break;
                case kNotLooked: break;
                case kCleared: flag = 0; break;
                case kMarked: flag = 1; break;
            }
            if (in.outcome[at] != kUnreadable) {
                res_.lastCodeK = in.codeK[at];
                res_.lastCodeD = in.codeD[at];
            }
            if (flag) ++r_.hitCount_;
            if (progress_) progress_->OnRecord(i, r_.hitCount_);
        }
        if (r_.kept_ && !in.keptRecords.empty()) TakeKept(in, a, a + taken);
        in = ScanChunk{};
        return more;
    }

    // What chunk c kept of its marked records before record `end` (where a stop came),
    // numbered by the kept names.
    void TakeKept(ScanChunk& in, int a, int end) {
        ReleveReader& reader = readers_->Main();
        Kept& k = *r_.kept_;
        const auto block = static_cast<std::uint32_t>(k.blocks.size());
        for (SpeciesEntry& e : in.keptEntries) {
            if (e.name >= keptName_.size()) keptName_.resize(e.name + 1, Kept::kNone);
            std::uint32_t& to = keptName_[e.name];
            if (to == Kept::kNone) to = k.Number(reader.NameOf(e.name));
            e.name = to;
        }
        for (std::size_t r = 0; r < in.keptRecords.size(); ++r) {
            const int i = in.keptRecords[r];
            if (i >= end) break;
            Kept::Ref& ref = k.refs[static_cast<std::size_t>(i)];
            const std::size_t at = static_cast<std::size_t>(i - a);
            if (!ref.kept) ++k.count;
            ref = Kept::Ref{block,        in.keptStart[r], in.keptStart[r + 1] - in.keptStart[r],
                            in.codeK[at], in.codeD[at],    true};
            k.bytes += ref.count * sizeof(SpeciesEntry) + 16;
        }
        k.blocks.push_back(std::move(in.keptEntries));
    }

    Retrieval& r_;
    ReleveSource& src_;
    const Dictionary& dict_;
    const ScanParams& params_;
    RetrievalProgress* progress_;
    const std::string mesh_;
    const int first_, last_, threads_;
    ReaderPool* readers_ = nullptr;
    bool keep_ = false;
    std::atomic<std::size_t> keptBytes_{0};
    std::mutex matchersMutex_;
    std::vector<std::unique_ptr<ConditionMatcher>> matchers_;
    std::vector<ScanChunk> results_;
    std::vector<std::uint32_t> keptName_;  // the reader's name numbers -> the kept ones
    ScanResult res_;
};

ScanResult Retrieval::Scan(ReleveSource& src, const Dictionary& dict, const ScanParams& params,
                           RetrievalProgress* progress) {
    CheckConditions(params);
    const int count = src.RecordCount();
    if (RecordCount() != count) {
        // Flags follow the file; an additional scan keeps those that still apply.
        flags_.resize(static_cast<std::size_t>(std::max(count, 0)) + 1, 0);
        ForgetKept();
    }
    if (!params.additional) BeginNewScan();
    return Kept::ScanPass(*this, src, dict, params, progress).Run();
}

}  // namespace tavik
