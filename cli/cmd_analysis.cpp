// ra and constancy: the analyses of a saved table.
#include <iostream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/table_output.h"
#include "core/constancy.h"
#include "core/reciprocal_averaging.h"
#include "formats/freq_table_files.h"
#include "formats/workspace.h"

namespace tavik::cli {

namespace {

// Writes one of the second window's files; a read-only one only with --force.
template <class Write>
void WriteOutput(bool force, Write write) {
    try {
        write(force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse);
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(std::string(e.what()) + "（置き換えるには --force）");
    }
}

}  // namespace

int ReciprocalAveraging(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    std::string out, scores, ini;
    bool dominance = false, force = false;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "-o") out = in.Value(a);
        else if (a == "--scores") scores = in.Value(a);
        else if (a == "--dominance") dominance = in.Flag(a);
        else if (a == "--force") force = in.Flag(a);
        else if (a == "--ini") ini = in.Value(a);
        else throw UsageError{"unknown option for ra: " + a};
    }
    // The reordered table may replace the table it came from; the score table may not.
    const std::vector<NamedFile> outputs{{"-o", out}, {"--scores", scores}};
    std::vector<NamedFile> inputs = TableInputs(table, ini);
    CheckOutputs({{"--scores", scores}}, inputs);
    inputs.erase(inputs.begin());
    CheckOutputs(outputs, inputs);
    Workspace ws;
    ws.Start(ini);
    CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
    LoadTableFromCli(ws, table);
    CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
    ws.table.Recount();
    const RaResult r = tavik::ReciprocalAveraging(ws.table, dominance);
    std::cerr << "反復回数: " << r.iterations << "\n";
    // The score table keeps the order the table had.
    if (!scores.empty()) {
        const FreqTable t = RaScoreTable(ws.table, r);
        WriteOutput(force, [&](auto ro) { WriteFreqTableCsv(scores, t, ro); });
    }
    if (!out.empty()) {
        ApplyRaOrder(ws.table, r);
        SaveTableFromCli(ws, out, force);
    }
    return 0;
}

int Constancy(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    std::string csv, text, ini, title;
    bool hasTitle = false, force = false;
    ConstancyOptions options;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "--csv") csv = in.Value(a);
        else if (a == "--text") text = in.Value(a);
        else if (a == "--kind") {
            const std::string k = in.Value(a);
            if (k.size() != 1 || k[0] < '0' || k[0] >= '0' + kConstancyKindCount)
                throw UsageError{"--kind takes 0 to 4, not " + k};
            options.kind = static_cast<ConstancyKind>(k[0] - '0');
        } else if (a == "--blank") options.blankAbsent = in.Flag(a);
        else if (a == "--title") {
            title = in.Value(a);
            hasTitle = true;
        } else if (a == "--ini") ini = in.Value(a);
        else if (a == "--force") force = in.Flag(a);
        else throw UsageError{"unknown option for constancy: " + a};
    }
    if (csv.empty() && text.empty()) throw UsageError{"constancy needs --csv OUT.csv or --text OUT.txt"};
    const std::vector<NamedFile> outputs{{"--csv", csv}, {"--text", text}};
    CheckOutputs(outputs, TableInputs(table, ini));
    Workspace ws;
    ws.Start(ini);
    CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
    LoadTableFromCli(ws, table);
    CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
    ws.table.Recount();
    options.title = hasTitle ? title : ws.table.TableTitle + "常在度表";
    const FreqTable t = MakeConstancyTable(ws.table, options);
    if (!csv.empty()) WriteOutput(force, [&](auto ro) { WriteFreqTableCsv(csv, t, ro); });
    if (!text.empty()) WriteOutput(force, [&](auto ro) { WriteFreqTableText(text, t, ShortDateToday(), ro); });
    return 0;
}

}  // namespace tavik::cli
