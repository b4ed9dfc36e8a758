// classify and groups: relevés into groups by cluster analysis or by a membership file.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/table_output.h"
#include "core/classification.h"
#include "core/reciprocal_averaging.h"
#include "formats/membership_file.h"
#include "formats/workspace.h"

namespace tavik::cli {

namespace {

template <class Write>
void WriteOutput(bool force, Write write) {
    try {
        write(force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse);
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(Arg(Tr("%1（置き換えるには --force）"), {e.what()}));
    }
}

int ParseCount(const std::string& opt, const std::string& text) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 1 || v > 1000000)
        throw UsageError{opt + " takes a positive number, not " + text};
    return static_cast<int>(v);
}

ClusterDistance ParseDistance(const std::string& v) {
    if (v == "bray") return ClusterDistance::Bray;
    if (v == "jaccard") return ClusterDistance::Jaccard;
    if (v == "sorensen") return ClusterDistance::Sorensen;
    if (v == "euclid") return ClusterDistance::Euclid;
    if (v == "chord") return ClusterDistance::Chord;
    throw UsageError{"--distance takes bray, jaccard, sorensen, euclid or chord, not " + v};
}

ClusterLinkage ParseLinkage(const std::string& v) {
    if (v == "ward") return ClusterLinkage::Ward;
    if (v == "flexible") return ClusterLinkage::Flexible;
    if (v == "average") return ClusterLinkage::Average;
    if (v == "complete") return ClusterLinkage::Complete;
    if (v == "single") return ClusterLinkage::Single;
    throw UsageError{"--linkage takes ward, flexible, average, complete or single, not " + v};
}

void ReportLeftOut(const Table& t, const ClusterData& d) {
    if (d.leftOut.empty()) return;
    std::string names;
    for (std::size_t i = 0; i < d.leftOut.size() && i < 20; ++i)
        names += (i ? Tr("、") : "") + ReleveNumber(t, d.leftOut[i]);
    if (d.leftOut.size() > 20) names += Arg(Tr(" ほか %1 個"), {std::to_string(d.leftOut.size() - 20)});
    std::cerr << Arg(Tr("範囲と変換方法で種が残らない測定 %1 個を距離から除きました: %2"),
                     {std::to_string(d.leftOut.size()), names})
              << "\n";
}

// What `classify` was asked for.
struct ClassifyRequest {
    std::string table, out, membership, newick, ini;
    bool force = false, byScore = false;
    ClusterOptions options;
    int groups = 0;     // --groups K
    bool best = false;  // --groups best[:FROM-TO]
    int bestFrom = 2, bestTo = 12;
    bool scan = false;  // --scan FROM-TO
    int scanFrom = 0, scanTo = -1;
};

ClassifyRequest ReadClassifyArgs(const Args& args) {
    ArgReader in(args);
    ClassifyRequest r;
    r.table = in.Positional("TABLE.vtb");
    ClusterOptions& o = r.options;
    std::string groupsArg, scanArg;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "--distance") o.distance = ParseDistance(in.Value(a));
        else if (a == "--linkage") o.linkage = ParseLinkage(in.Value(a));
        else if (a == "--beta") {
            const std::string v = in.Value(a);
            char* end = nullptr;
            o.beta = std::strtod(v.c_str(), &end);
            if (v.empty() || *end != '\0' || !(o.beta >= -1 && o.beta <= 0))
                throw UsageError{"--beta takes a number from -1 to 0, not " + v};
        } else if (a == "--method") {
            const std::string v = in.Value(a);
            if (v.size() != 1 || v[0] < '0' || v[0] > '6') throw UsageError{"--method takes 0 to 6, not " + v};
            o.method = v[0] - '0';
        } else if (a == "--sqrt") o.sqrt = in.Flag(a);
        else if (a == "--groups") groupsArg = in.Value(a);
        else if (a == "--scan") scanArg = in.Value(a);
        else if (a == "--releves") ParseRange(a, in.Value(a), o.releveFrom, o.releveTo);
        else if (a == "--species") ParseRange(a, in.Value(a), o.speciesFrom, o.speciesTo);
        else if (a == "--order") {
            const std::string v = in.Value(a);
            if (v == "ra") r.byScore = true;
            else if (v != "leaf") throw UsageError{"--order takes leaf or ra, not " + v};
        } else if (a == "--membership") r.membership = in.Value(a);
        else if (a == "--newick") r.newick = in.Value(a);
        else if (a == "-o") r.out = in.Value(a);
        else if (a == "--threads") o.threads = ParseCount(a, in.Value(a));
        else if (a == "--ini") r.ini = in.Value(a);
        else if (a == "--force") r.force = true;
        else throw UsageError{"unknown option for classify: " + a};
    }
    if (groupsArg == "best" || groupsArg.rfind("best:", 0) == 0) {
        r.best = true;
        if (groupsArg != "best") ParseRange("--groups best:", groupsArg.substr(5), r.bestFrom, r.bestTo);
    } else if (!groupsArg.empty()) r.groups = ParseCount("--groups", groupsArg);
    r.scan = !scanArg.empty();
    if (r.scan) ParseRange("--scan", scanArg, r.scanFrom, r.scanTo);
    if ((!r.out.empty() || !r.membership.empty()) && groupsArg.empty())
        throw UsageError{"-o and --membership need --groups K or --groups best"};
    return r;
}

// The number of groups to cut the tree into: the one given, the one with the most faithful
// species in the range of `--groups best:FROM-TO` (reported), or 0 for none. `--scan` prints
// the count of faithful species for each number of groups in its range first.
int ChooseGroupCount(const ClassifyRequest& r, const Table& t, const Classification& c) {
    if (r.scan) {
        std::cout << Tr("K\t忠実な種") << "\n";
        for (const KScanLine& l : ScanGroupCounts(t, c, r.scanFrom, r.scanTo))
            std::cout << l.k << "\t" << l.faithful << "\n";
    }
    const int n = c.data.Rows();
    int k = r.groups;
    if (r.best) {
        const std::vector<KScanLine> scan = ScanGroupCounts(t, c, r.bestFrom, r.bestTo);
        k = BestK(scan);
        if (k == 0)
            throw ClassificationRefused(
                Arg(Tr("群の数 %1 はどれも測定の数 %2 を超えています。"),
                    {std::to_string(r.bestFrom) + "-" + std::to_string(r.bestTo), std::to_string(n)}));
        for (const KScanLine& l : scan)
            if (l.k == k)
                std::cerr << Arg(Tr("忠実な種が最も多い群の数: %1（%2 種）"),
                                 {std::to_string(k), std::to_string(l.faithful)})
                          << "\n";
    }
    if (k > n)
        throw ClassificationRefused(Arg(Tr("群の数 %1 は、分類した測定の数 %2 を超えています。表は変更していません。"),
                                        {std::to_string(k), std::to_string(n)}));
    return k;
}

// The groups of the cut into k: as a membership file, and as the table grouped.
void WriteGroups(const ClassifyRequest& r, Workspace& ws, const Classification& c, int k) {
    std::vector<float> scores;
    if (r.byScore) scores = tavik::ReciprocalAveraging(ws.table, false).releveScores;
    const ReleveGroups groups = GroupsOfCut(ws.table, c, k, r.byScore ? &scores : nullptr);
    if (!r.membership.empty()) {
        std::vector<MembershipLine> lines;
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (int key : groups[g]) {
                const int q = ws.table.RelevePosOf(key);
                lines.push_back({q, ReleveNumber(ws.table, q), std::to_string(g + 1)});
            }
        WriteOutput(r.force, [&](auto ro) { WriteMembershipFile(r.membership, lines, ro); });
    }
    if (!r.out.empty()) {
        const GroupPlacement p = PlaceGroups(ws.table, groups, r.options.releveFrom, r.options.releveTo);
        if (p.leftOver > 0)
            std::cerr << Arg(Tr("どの群にも入らない測定 %1 個を最後の群に置きました。"), {std::to_string(p.leftOver)})
                      << "\n";
        SaveTableFromCli(ws, r.out, r.force);
    }
}

}  // namespace

int Classify(const Args& args) {
    const ClassifyRequest r = ReadClassifyArgs(args);
    CheckSettingsFileExists(r.ini);
    // The grouped table may replace the table it came from; the other outputs may not, and
    // no two outputs may be one file.
    const std::vector<NamedFile> outputs{{"-o", r.out}, {"--membership", r.membership}, {"--newick", r.newick}};
    std::vector<NamedFile> inputs = TableInputs(r.table, r.ini);
    CheckOutputs({{"--membership", r.membership}, {"--newick", r.newick}}, inputs);
    inputs.erase(inputs.begin());
    CheckOutputs(outputs, inputs);

    Workspace ws;
    ws.Start(r.ini);
    ws.LoadTable(r.table);
    ws.table.Recount();
    const Classification c = ClassifyReleves(ws.table, r.options);
    ReportLeftOut(ws.table, c.data);
    const int k = ChooseGroupCount(r, ws.table, c);
    std::vector<std::string> labels;
    for (int q : c.data.positions) labels.push_back(ReleveNumber(ws.table, q));
    if (!r.newick.empty())
        WriteOutput(r.force, [&](auto ro) { WriteNewickFile(r.newick, NewickText(c.tree, labels), ro); });
    if (k > 0) WriteGroups(r, ws, c, k);
    return 0;
}

int Groups(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    std::string from, out, list, ini;
    bool force = false;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "--from") from = in.Value(a);
        else if (a == "-o") out = in.Value(a);
        else if (a == "--list") list = in.Value(a);
        else if (a == "--ini") ini = in.Value(a);
        else if (a == "--force") force = true;
        else throw UsageError{"unknown option for groups: " + a};
    }
    if (from.empty() == list.empty())
        throw UsageError{"groups needs --from MEMBERSHIP.csv -o OUT.vtb, or --list OUT.csv"};
    if (!from.empty() && out.empty()) throw UsageError{"groups --from needs -o OUT.vtb"};
    if (!list.empty() && !out.empty()) throw UsageError{"groups --list takes no -o"};
    CheckSettingsFileExists(ini);
    const std::string target = out.empty() ? list : out;
    std::vector<NamedFile> inputs = TableInputs(table, ini);
    inputs.push_back({"MEMBERSHIP.csv", from});
    // The grouped table may replace the table it came from; a list may not.
    if (!list.empty()) CheckOutputs({{"--list", list}}, inputs);
    inputs.erase(inputs.begin());
    CheckOutputs({{out.empty() ? "--list" : "-o", target}}, inputs);
    Workspace ws;
    ws.Start(ini);
    ws.LoadTable(table);
    ws.table.Recount();
    if (!list.empty()) {
        const std::vector<MembershipLine> lines = CurrentMembership(ws.table);
        WriteOutput(force, [&](auto ro) { WriteMembershipFile(list, lines, ro); });
        return 0;
    }
    const auto pairs = ReadMembershipFile(from);
    int unlisted = 0;
    const ReleveGroups groups = GroupsFromMembership(ws.table, pairs, &unlisted);
    PlaceGroups(ws.table, groups);
    if (unlisted > 0)
        std::cerr << Arg(Tr("群の割り当てのない測定 %1 個を最後の群に置きました。"), {std::to_string(unlisted)})
                  << "\n";
    SaveTableFromCli(ws, out, force);
    return 0;
}

}  // namespace tavik::cli
