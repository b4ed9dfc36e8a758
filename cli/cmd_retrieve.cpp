// retrieve: relevés from a field-data pair into a composition table.
#include <algorithm>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/summary.h"
#include "cli/table_output.h"
#include "formats/fielddata.h"
#include "formats/workspace.h"

namespace tavik::cli {

namespace {

// A progress line on stderr, at most a few times a second.
class StderrProgress : public RetrievalProgress {
public:
    explicit StderrProgress(const char* what) : what_(what) {}
    ~StderrProgress() override {
        if (!shown_) return;
        Print();
        std::cerr << "\n";
    }
    void OnRecord(int record, int count) override {
        record_ = record;
        count_ = count;
        const auto now = std::chrono::steady_clock::now();
        if (shown_ && now - last_ < std::chrono::milliseconds(200)) return;
        last_ = now;
        shown_ = true;
        Print();
    }

private:
    void Print() const {
        std::cerr << "\r" << Arg(Tr("%1 レコード %2  %3 件"), {what_, std::to_string(record_), std::to_string(count_)})
                  << std::flush;
    }
    const char* what_;
    int record_ = 0, count_ = 0;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// NAME[:CLASS[:CONNECTIVE]], read from the right so that a name may hold ":". A short
// ASCII word after the last ":" is meant as a class or connective, so it must be one.
SpeciesCondition ParseCondition(const std::string& text) {
    static const char* const kClasses[] = {"+", "1", "2", "3", "4", "5"};
    auto classOf = [](const std::string& s) {
        for (int i = 0; i < kCoverClassCount; ++i)
            if (s == kClasses[i]) return i;
        return -1;
    };
    auto connectiveOf = [](const std::string& s) {
        if (s == "or") return 0;
        if (s == "and") return 1;
        if (s == "none") return 2;
        return -1;
    };
    auto looksMeant = [](const std::string& s) {
        if (s.empty() || s.size() > 5) return s.empty();
        for (char c : s)
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '+' || c == '-'))
                return false;
        return true;
    };
    const auto bad = [&](const std::string& why) { return UsageError{"--species " + text + ": " + why}; };
    SpeciesCondition c;
    std::string name = text;
    const std::size_t last = name.rfind(':');
    if (last != std::string::npos && looksMeant(name.substr(last + 1))) {
        const std::string tail = name.substr(last + 1);
        const std::string head = name.substr(0, last);
        const std::size_t prev = head.rfind(':');
        if (const int conn = connectiveOf(tail); conn >= 0) {
            if (prev == std::string::npos || classOf(head.substr(prev + 1)) < 0)
                throw bad("a connective needs a class before it (NAME:CLASS:CONNECTIVE)");
            c.coverClass = classOf(head.substr(prev + 1));
            c.connective = static_cast<Connective>(conn);
            name = head.substr(0, prev);
        } else if (classOf(tail) >= 0) {
            c.coverClass = classOf(tail);
            name = head;
        } else if (prev != std::string::npos && classOf(head.substr(prev + 1)) >= 0) {
            throw bad("'" + tail + "' is not a connective (or, and, none)");
        } else {
            throw bad("'" + tail + "' is not a cover class (+, 1 ... 5)");
        }
    }
    if (TrimBlanks(name).empty()) throw bad("the species name is empty");
    c.name = name;
    return c;
}

}  // namespace

int Retrieve(const Args& args) {
    ArgReader in(args);
    const std::string data = in.Positional("DATA.tki");
    std::string out, ini, mesh, records, into, title;
    bool hasTitle = false, force = false, hasRecords = false;
    std::vector<std::string> dicts;
    std::vector<SpeciesCondition> conditions;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "-o") out = in.Value(a);
        else if (a == "--ini") ini = in.Value(a);
        else if (a == "--dict") dicts.push_back(in.Value(a, true));
        else if (a == "--species") conditions.push_back(ParseCondition(in.Value(a, true)));
        else if (a == "--mesh") mesh = in.Value(a);
        else if (a == "--records") records = in.Value(a), hasRecords = true;
        else if (a == "--into") into = in.Value(a);
        else if (a == "--title") title = in.Value(a), hasTitle = true;
        else if (a == "--force") force = in.Flag(a);
        else throw UsageError{"unknown option for retrieve: " + a};
    }
    if (conditions.size() > static_cast<std::size_t>(kConditionCount))
        throw UsageError{"at most five --species conditions"};

    CheckSettingsFileExists(ini);
    if (!out.empty()) {
        std::vector<NamedInput> inputs{{"DATA.tki", data}, {"DATA.tkd", DataFileOf(data)}, {"--ini", ini}};
        for (const std::string& d : dicts) inputs.push_back({"--dict", d});
        // The table --into may take the new relevés in its place, not its settings.
        if (!into.empty()) inputs.push_back({"the --into table's settings file", CompanionIniPath(into)});
        CheckOutputIsNotInput(out, inputs);
    }

    Workspace ws;
    ws.Start(ini);
    CheckOutputIsNotInput(out, {{"the settings' dictionary", ws.dictFileName}});
    for (const std::string& d : dicts)
        if (!ws.SetDictionary(d)) throw std::runtime_error(Arg(Tr("%1 がありません（異名辞書）"), {d}));
    if (!into.empty()) {
        LoadTableFromCli(ws, into);
        CheckOutputIsNotInput(out, {{"the settings' dictionary", ws.dictFileName}});
    }
    ws.SetDataFile(data);
    if (!ws.dataFileProblem.empty()) std::cerr << "tavik-cli: " << Printable(ws.dataFileProblem) << "\n";
    ws.OpenRetrieval();

    ScanParams params;
    for (std::size_t k = 0; k < conditions.size(); ++k) params.conditions[k] = conditions[k];
    params.meshPrefix = mesh;
    params.first = 1;
    params.last = ws.releveRecordCount;
    if (hasRecords) ParseRange("--records", records, params.first, params.last);
    params.additional = false;

    ScanResult scan;
    {
        StderrProgress progress(Tr("抽出中"));
        scan = ws.Scan(params, &progress);
    }
    std::cerr << Arg(Tr("抽出数＝%1（調べた測定 %2 件）"), {std::to_string(scan.hits), std::to_string(scan.examined)})
              << "\n";
    PutResult put;
    {
        StderrProgress progress(Tr("表へ組み込み中"));
        put = ws.PutIntoTable(&progress);
    }
    // The codes the retrieval read last are the table's from now on.
    if (put.lastCodeK >= 0) ws.table.CodeK = put.lastCodeK;
    if (put.lastCodeD >= 0) ws.table.CodeD = put.lastCodeD;
    ws.table.TableTitle = hasTitle ? title : ws.ProposedTitle();

    int status = 0;
    std::vector<int> skipped = scan.skipped;
    skipped.insert(skipped.end(), put.skipped.begin(), put.skipped.end());
    if (const std::string msg = SkippedRecordsMessage(skipped); !msg.empty()) std::cerr << Printable(msg) << "\n";
    if (const std::string msg = NotPlacedRecordsMessage(put.notPlaced); !msg.empty()) {
        std::cerr << Printable(msg) << "\n";
        status = 1;
    }
    std::cerr << Arg(Tr("組み込んだ測定 %1 件"), {std::to_string(put.put)}) << "\n";

    if (out.empty()) PrintSummary(ws.table, std::cout);
    else SaveTableFromCli(ws, out, force);
    return status;
}

}  // namespace tavik::cli
