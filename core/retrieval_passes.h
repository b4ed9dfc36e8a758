// What the scan and the putting pass share, inside retrieval: the readers of a pass's
// threads and what the scans keep of the marked relevés for the putting pass.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/retrieval.h"

namespace tavik {

inline constexpr int kScanChunk = 1024;  // records per chunk of a scan
inline constexpr int kPutChunk = 256;    // marked records per chunk of a putting pass

// Readers for the threads of one pass, and one for the thread that runs it.
class ReaderPool {
public:
    ReaderPool(ReleveSource& src, int threads);
    std::unique_ptr<ReleveReader> Take();
    void Give(std::unique_ptr<ReleveReader> r);
    // For the calling thread, between chunks.
    ReleveReader& Main() { return main_ ? *main_ : *free_.front(); }

private:
    std::mutex m_;
    std::vector<std::unique_ptr<ReleveReader>> free_;
    std::unique_ptr<ReleveReader> main_;
};

// The species of marked relevés as the scans read them, so that the putting pass need not
// read them again while the source stays the same.
struct Retrieval::Kept {
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::string identity;  // of the source the relevés came from
    struct Ref {
        std::uint32_t block = 0, start = 0, count = 0;
        int codeK = 0, codeD = 0;
        bool kept = false;
    };
    std::vector<Ref> refs;  // by record number
    std::vector<std::vector<SpeciesEntry>> blocks;
    // Name numbers of their own, so that relevés kept by scans over different openings of
    // the source meet.
    std::vector<std::string> names;
    std::unordered_map<std::string, std::uint32_t> ids;
    std::size_t bytes = 0;
    int count = 0;

    std::uint32_t Number(const std::string& name) {
        const auto [it, added] = ids.try_emplace(name, static_cast<std::uint32_t>(names.size()));
        if (added) names.push_back(name);
        return it->second;
    }
    // The two passes, declared here so that they reach the retrieval's flags and counts.
    class ScanPass;
    class PutPass;
};

}  // namespace tavik
