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

}  // namespace

int Classify(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    std::string out, membership, newick, ini, groupsArg, scanArg;
    bool force = false, byScore = false;
    ClusterOptions o;
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
            if (v == "ra") byScore = true;
            else if (v != "leaf") throw UsageError{"--order takes leaf or ra, not " + v};
        } else if (a == "--membership") membership = in.Value(a);
        else if (a == "--newick") newick = in.Value(a);
        else if (a == "-o") out = in.Value(a);
        else if (a == "--threads") o.threads = ParseCount(a, in.Value(a));
        else if (a == "--ini") ini = in.Value(a);
        else if (a == "--force") force = true;
        else throw UsageError{"unknown option for classify: " + a};
    }
    int k = 0, bestFrom = 2, bestTo = 12;
    bool best = false;
    if (groupsArg == "best") best = true;
    else if (groupsArg.rfind("best:", 0) == 0) {
        best = true;
        ParseRange("--groups best:", groupsArg.substr(5), bestFrom, bestTo);
    } else if (!groupsArg.empty()) k = ParseCount("--groups", groupsArg);
    int scanFrom = 0, scanTo = -1;
    if (!scanArg.empty()) ParseRange("--scan", scanArg, scanFrom, scanTo);
    if ((!out.empty() || !membership.empty()) && groupsArg.empty())
        throw UsageError{"-o and --membership need --groups K or --groups best"};
    CheckSettingsFileExists(ini);
    // The grouped table may replace the table it came from; the other outputs may not, and
    // no two outputs may be one file.
    const std::vector<NamedFile> outputs{{"-o", out}, {"--membership", membership}, {"--newick", newick}};
    std::vector<NamedFile> inputs = TableInputs(table, ini);
    CheckOutputs({{"--membership", membership}, {"--newick", newick}}, inputs);
    inputs.erase(inputs.begin());
    CheckOutputs(outputs, inputs);

    Workspace ws;
    ws.Start(ini);
    ws.LoadTable(table);
    ws.table.Recount();
    const Classification c = ClassifyReleves(ws.table, o);
    ReportLeftOut(ws.table, c.data);
    const int n = c.data.Rows();

    if (!scanArg.empty()) {
        std::cout << Tr("K\t忠実な種") << "\n";
        for (const KScanLine& l : ScanGroupCounts(ws.table, c, scanFrom, scanTo))
            std::cout << l.k << "\t" << l.faithful << "\n";
    }
    if (best) {
        const std::vector<KScanLine> scan = ScanGroupCounts(ws.table, c, bestFrom, bestTo);
        k = BestK(scan);
        if (k == 0)
            throw ClassificationRefused(
                Arg(Tr("群の数 %1 はどれも測定の数 %2 を超えています。"),
                    {std::to_string(bestFrom) + "-" + std::to_string(bestTo), std::to_string(n)}));
        for (const KScanLine& l : scan)
            if (l.k == k)
                std::cerr << Arg(Tr("忠実な種が最も多い群の数: %1（%2 種）"),
                                 {std::to_string(k), std::to_string(l.faithful)})
                          << "\n";
    }
    if (k > n)
        throw ClassificationRefused(Arg(Tr("群の数 %1 は、分類した測定の数 %2 を超えています。表は変更していません。"),
                                        {std::to_string(k), std::to_string(n)}));
    std::vector<std::string> labels;
    for (int q : c.data.positions) labels.push_back(ReleveNumber(ws.table, q));
    if (!newick.empty()) WriteOutput(force, [&](auto ro) { WriteNewickFile(newick, NewickText(c.tree, labels), ro); });
    if (k == 0) return 0;

    std::vector<float> scores;
    if (byScore) scores = tavik::ReciprocalAveraging(ws.table, false).releveScores;
    const ReleveGroups groups = GroupsOfCut(ws.table, c, k, byScore ? &scores : nullptr);
    if (!membership.empty()) {
        std::vector<MembershipLine> lines;
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (int key : groups[g]) {
                const int q = ws.table.RelevePosOf(key);
                lines.push_back({q, ReleveNumber(ws.table, q), std::to_string(g + 1)});
            }
        WriteOutput(force, [&](auto ro) { WriteMembershipFile(membership, lines, ro); });
    }
    if (!out.empty()) {
        const GroupPlacement p = PlaceGroups(ws.table, groups, o.releveFrom, o.releveTo);
        if (p.leftOver > 0)
            std::cerr << Arg(Tr("どの群にも入らない測定 %1 個を最後の群に置きました。"), {std::to_string(p.leftOver)})
                      << "\n";
        SaveTableFromCli(ws, out, force);
    }
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
