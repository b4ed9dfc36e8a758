// The passes over a field-data file on several threads, reading in blocks, come out exactly
// as a plain pass that reads one relevé after the other: marks, counts, progress, skipped
// records and the table.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <random>

#include "formats/fielddata.h"
#include "tests/formats/temp_dir.h"

namespace tavik {
namespace {

std::string Fixed(const std::string& s, std::size_t width, bool right = false) {
    std::string f = s.substr(0, width);
    return right ? std::string(width - f.size(), ' ') + f : f + std::string(width - f.size(), ' ');
}

// A pair of `releves` relevés whose species records lie scattered through the data file,
// so that chains run backwards and far; some records are damaged.
std::pair<std::string, std::string> ScatteredPair(int releves, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::vector<std::string>> names(static_cast<std::size_t>(releves) + 1);
    int dataRecords = 0;
    for (int q = 1; q <= releves; ++q) {
        const int n = static_cast<int>(rng() % 30);
        for (int k = 0; k < n; ++k) {
            const int s = static_cast<int>(rng() % 300);
            names[static_cast<std::size_t>(q)].push_back(s % 3 == 0 ? "\x83\x75\x83\x69" + std::to_string(s)  // ブナ…
                                                                    : "sp " + std::to_string(s));
        }
        dataRecords += (n + 11) / 12;
    }
    std::vector<int> place(static_cast<std::size_t>(dataRecords));
    std::iota(place.begin(), place.end(), 1);
    std::shuffle(place.begin(), place.end(), rng);

    std::string index(kIndexRecordSize, ' ');
    std::string data = "#30$Scattered$No$";
    for (int n = 2; n <= 30; ++n) data += "1I" + std::to_string(n) + "$";
    data += "K=5 D=2";
    data.resize(kDataRecordSize, ' ');
    data.resize(static_cast<std::size_t>(dataRecords + 1) * kDataRecordSize, ' ');
    std::size_t used = 0;
    for (int q = 1; q <= releves; ++q) {
        const auto& sp = names[static_cast<std::size_t>(q)];
        const int records = static_cast<int>((sp.size() + 11) / 12);
        std::string rec(kIndexRecordSize, ' ');
        rec.replace(16, 8, Fixed("R" + std::to_string(q), 8));
        rec.replace(56, 8, Fixed(std::to_string(53390000 + q % 7), 8));
        rec.replace(64, 4, Fixed(std::to_string(q % 500), 4, true));
        rec.replace(152, 4, Fixed(std::to_string(sp.size()), 4, true));
        rec.replace(156, 2, q % 5 == 0 ? "51" : "52");
        const int first = records ? place[used] : 0;
        rec.replace(248, 6, Fixed(std::to_string(first), 6, true));
        for (int k = 0; k < records; ++k) {
            const int r = place[used + static_cast<std::size_t>(k)];
            const int next = k + 1 < records ? place[used + static_cast<std::size_t>(k) + 1] : 0;
            std::string srec(kDataRecordSize, ' ');
            for (int e = 0; e < 12 && k * 12 + e < static_cast<int>(sp.size()); ++e) {
                const std::size_t at = static_cast<std::size_t>(e) * kEntrySize;
                srec.replace(at, kNameSize, Fixed(sp[static_cast<std::size_t>(k * 12 + e)], kNameSize));
                static const char* const kCovers[] = {" +", " 3", "32", "  ", " r", "+2"};
                srec.replace(at + kNameSize + 2 * static_cast<std::size_t>(e % 7), 2, kCovers[(q + e) % 6]);
            }
            srec.replace(504, 6, Fixed(std::to_string(next), 6, true));
            data.replace(static_cast<std::size_t>(r) * kDataRecordSize, kDataRecordSize, srec);
        }
        used += static_cast<std::size_t>(records);
        index += rec;
    }
    // Damage: a count that is not a number, a link past the end, a chain into itself.
    index.replace(17 * kIndexRecordSize + 152, 4, "  x1");
    index.replace(1030 * kIndexRecordSize + 248, 6, "999999");
    for (int q : {1023, 2049}) {
        const std::string first = index.substr(static_cast<std::size_t>(q) * kIndexRecordSize + 248, 6);
        const int r = std::stoi(first);
        if (r > 0) data.replace(static_cast<std::size_t>(r) * kDataRecordSize + 504, 6, first);
    }
    return {index, data};
}

// The same pair read one relevé after the other, through ReadReleve alone.
class OneByOne : public ReleveSource {
public:
    explicit OneByOne(FieldFiles& f) : f_(f) {}
    int RecordCount() const override { return f_.RecordCount(); }
    bool ReadReleve(int i, PlantSet& set) override { return f_.ReadReleve(i, set); }
    std::string ItemText(int n) const override { return f_.ItemText(n); }

private:
    FieldFiles& f_;
};

class Recorder : public RetrievalProgress {
public:
    std::vector<std::pair<int, int>> seen;
    int cancelAt = 0;
    bool Cancelled() override { return cancelAt && static_cast<int>(seen.size()) >= cancelAt; }
    void OnRecord(int record, int count) override { seen.emplace_back(record, count); }
};

// A table with a header row for every item.
Table AllItems() {
    Table t;
    for (int n = 1; n <= kItemCount; ++n) t.ItemBoxes[static_cast<std::size_t>(n)].enabled = true;
    t.ClearTable();
    return t;
}

std::string Everything(const Table& t) {
    std::string s;
    for (int row = 0; row < t.RowCount(); ++row)
        for (int col = 0; col < t.ColCount(); ++col) s += t.Text(col, row) + "\t";
    for (int q = 1; q <= t.ReleveCount(); ++q)
        for (const Cell& c : t.CellsOf(t.ReleveKeyAt(q))) s += std::string(c.covers.v.begin(), c.covers.v.end());
    return s;
}

class Passes : public ::testing::Test {
protected:
    void SetUp() override {
        const auto [index, data] = ScatteredPair(3000, 7);
        std::ofstream(tmp / "s.tki", std::ios::binary) << index;
        std::ofstream(tmp / "s.tkd", std::ios::binary) << data;
        dict.Add("sp 4",
                 "\x83\x75\x83\x69"
                 "3");  // a synonym of a name written otherwise
    }
    testing::TempDir tmp;
    Dictionary dict;
};

TEST_F(Passes, FileInBlocksReadsAsTheBytesInMemory) {
    const auto [index, data] = ScatteredPair(3000, 7);
    FieldFiles file(tmp / "s.tki"), memory(index, data);
    ASSERT_EQ(file.RecordCount(), 3000);
    PlantSet a, b;
    for (int i : {2999, 1, 17, 1030, 1023, 500, 2049, 3000, 2, 1500}) {
        const bool ra = file.ReadReleve(i, a), rb = memory.ReadReleve(i, b);
        ASSERT_EQ(ra, rb) << i;
        ASSERT_EQ(a.count, b.count) << i;
        for (int e = 1; e <= a.count; ++e) {
            EXPECT_EQ(a.entries[static_cast<std::size_t>(e)].name, b.entries[static_cast<std::size_t>(e)].name);
            EXPECT_EQ(a.entries[static_cast<std::size_t>(e)].covers, b.entries[static_cast<std::size_t>(e)].covers);
        }
        EXPECT_EQ(file.ItemText(2), memory.ItemText(2));
    }
    EXPECT_FALSE(file.ReadReleve(17, a));
    EXPECT_FALSE(file.ReadReleve(1030, a));
}

TEST_F(Passes, ThreadsAndKeptRelevesChangeNothingThatShows) {
    const std::vector<std::vector<SpeciesCondition>> scans = {
        {},
        {{"\x83\x75\x83\x69"
          "3",
          0, Connective::Or},
         {"sp 10", 1, Connective::Or}},
        {{"sp 7", 0, Connective::None}, {"sp 8", 0, Connective::And}},
    };
    for (std::size_t k = 0; k < scans.size(); ++k) {
        ScanParams p;
        std::copy(scans[k].begin(), scans[k].end(), p.conditions.begin());
        p.meshPrefix = k == 2 ? "5339000" : "";
        p.first = k == 1 ? 900 : 1;

        FieldFiles plainFiles(tmp / "s.tki");
        OneByOne plain(plainFiles);
        Retrieval r1;
        r1.Reset(plain.RecordCount());
        Recorder s1, u1;
        const ScanResult a = r1.Scan(plain, dict, p, &s1);
        Table t1 = AllItems();
        const PutResult pa = r1.Put(t1, plain, dict, &u1);

        FieldFiles files(tmp / "s.tki");
        Retrieval r2;
        r2.Reset(files.RecordCount());
        Recorder s2, u2;
        const ScanResult b = r2.Scan(files, dict, p, &s2);
        EXPECT_EQ(r2.KeptCount(), r2.HitCount());
        FieldFiles again(tmp / "s.tki");  // the putting pass opens the pair anew
        Table t2 = AllItems();
        const PutResult pb = r2.Put(t2, again, dict, &u2);

        EXPECT_EQ(r1.Flags(), r2.Flags()) << k;
        EXPECT_EQ(a.hits, b.hits);
        EXPECT_EQ(a.examined, b.examined);
        EXPECT_EQ(a.skipped, b.skipped);
        EXPECT_EQ(a.lastCodeK, b.lastCodeK);
        EXPECT_EQ(s1.seen, s2.seen);
        EXPECT_EQ(u1.seen, u2.seen);
        EXPECT_EQ(pa.put, pb.put);
        EXPECT_EQ(pa.skipped, pb.skipped);
        EXPECT_EQ(Everything(t1), Everything(t2)) << k;
        if (k == 0) {
            EXPECT_EQ(a.skipped, (std::vector<int>{17, 1030, 2049}));  // 1023 has no chain to loop
            EXPECT_GT(t1.SpeciesCount(), 250);
        }
    }
}

TEST_F(Passes, AStoppedPuttingPassLeavesEveryColumnItBeganFilled) {
    // Stopped in the middle of a chunk, while later chunks are read and laid out ahead: the
    // columns before the stop are whole, none comes after it, as on a plain pass.
    for (const int stopAt : {1, 700, 1500}) {
        FieldFiles plainFiles(tmp / "s.tki");
        OneByOne plain(plainFiles);
        FieldFiles files(tmp / "s.tki");
        std::string tables[2];
        int put[2];
        for (int k = 0; k < 2; ++k) {
            ReleveSource& src = k == 0 ? static_cast<ReleveSource&>(plain) : files;
            Retrieval r;
            r.Reset(src.RecordCount());
            r.Scan(src, dict, ScanParams());
            Table t = AllItems();
            Recorder stop;
            stop.cancelAt = stopAt;
            const PutResult res = r.Put(t, src, dict, &stop);
            EXPECT_TRUE(res.cancelled);
            tables[k] = Everything(t);
            put[k] = t.ReleveCount();
        }
        EXPECT_EQ(put[0], put[1]) << stopAt;
        EXPECT_GT(put[1], 0);
        EXPECT_EQ(tables[0], tables[1]) << stopAt;
    }
}

TEST_F(Passes, AStoppedScanChangesNoRecordPastTheStop) {
    FieldFiles files(tmp / "s.tki");
    Retrieval r;
    r.Reset(files.RecordCount());
    r.Scan(files, dict, ScanParams());  // every readable record marked
    ScanParams p;
    p.additional = true;
    p.conditions[0] = {"sp 1", 0, Connective::None};
    Recorder stop;
    stop.cancelAt = 1500;  // in the middle of a chunk
    const ScanResult res = r.Scan(files, dict, p, &stop);
    EXPECT_TRUE(res.cancelled);
    EXPECT_EQ(res.examined, 1500);
    EXPECT_EQ(stop.seen.back().first, 1500);
    FieldFiles plainFiles(tmp / "s.tki");
    OneByOne plain(plainFiles);
    PlantSet set;
    for (int i = 1501; i <= files.RecordCount(); ++i) EXPECT_EQ(r.Marked(i), plain.ReadReleve(i, set)) << i;
}

}  // namespace
}  // namespace tavik
