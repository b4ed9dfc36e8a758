// ra and constancy: the analyses of a saved table.
#include <iostream>
#include <optional>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/fidelity_flags.h"
#include "cli/messages.h"
#include "cli/table_output.h"
#include "core/constancy.h"
#include "core/reciprocal_averaging.h"
#include "core/table_fidelity.h"
#include "formats/freq_table_files.h"
#include "formats/workspace.h"
#include "output/freq_table_sheet.h"

namespace tavik::cli {

namespace {

// Writes one of the second window's files; a read-only one only with --force.
template <class Write>
void WriteOutput(bool force, Write write) {
    try {
        write(force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse);
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(Arg(Tr("%1（置き換えるには --force）"), {e.what()}));
    }
}

}  // namespace

int ReciprocalAveraging(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    std::string out, scores, ini;
    bool dominance = false, force = false;
    std::optional<TextEncoding> encodingFlag;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "-o") out = in.Value(a);
        else if (a == "--scores") scores = in.Value(a);
        else if (a == "--dominance") dominance = in.Flag(a);
        else if (a == "--force") force = in.Flag(a);
        else if (a == "--ini") ini = in.Value(a);
        else if (a == "--encoding") encodingFlag = ParseEncoding(in.Value(a));
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
    // Without --encoding, as the settings say (CP932 unless they chose UTF-8).
    const TextEncoding encoding =
        encodingFlag.value_or(ws.settings.utf8Files ? TextEncoding::Utf8 : TextEncoding::Cp932);
    ws.table.Recount();
    const RaResult r = tavik::ReciprocalAveraging(ws.table, dominance);
    std::cerr << Arg(Tr("反復回数: %1"), {std::to_string(r.iterations)}) << "\n";
    // The score table keeps the order the table had.
    if (!scores.empty()) {
        const FreqTable t = RaScoreTable(ws.table, r);
        WriteOutput(force, [&](auto ro) { WriteFreqTableCsv(scores, t, ro, encoding); });
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
    std::string csv, text, xlsx, ini, title;
    bool hasTitle = false, force = false, fidelity = false, diagnosticOrder = false;
    FidelityOptions fidelityOptions;
    std::optional<TextEncoding> encodingFlag;
    ConstancyOptions options;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "--csv") csv = in.Value(a);
        else if (a == "--text") text = in.Value(a);
        else if (a == "--xlsx") xlsx = in.Value(a);
        else if (a == "--fidelity") fidelity = in.Flag(a);
        else if (ReadFidelityFlag(a, in, fidelityOptions)) continue;
        else if (a == "--order") {
            const std::string v = in.Value(a);
            if (v == "diagnostic") diagnosticOrder = true;
            else if (v != "table") throw UsageError{"--order is table or diagnostic, not " + v};
        } else if (a == "--kind") {
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
        else if (a == "--encoding") encodingFlag = ParseEncoding(in.Value(a));
        else throw UsageError{"unknown option for constancy: " + a};
    }
    if (csv.empty() && text.empty() && xlsx.empty())
        throw UsageError{"constancy needs --csv OUT.csv, --text OUT.txt or --xlsx OUT.xlsx"};
    if (diagnosticOrder && !fidelity) throw UsageError{"--order diagnostic needs --fidelity"};
    const std::vector<NamedFile> outputs{{"--csv", csv}, {"--text", text}, {"--xlsx", xlsx}};
    CheckOutputs(outputs, TableInputs(table, ini));
    Workspace ws;
    ws.Start(ini);
    CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
    LoadTableFromCli(ws, table);
    CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
    // Without --encoding, as the settings say (CP932 unless they chose UTF-8).
    const TextEncoding encoding =
        encodingFlag.value_or(ws.settings.utf8Files ? TextEncoding::Utf8 : TextEncoding::Cp932);
    ws.table.Recount();
    options.title = hasTitle ? title : ws.table.TableTitle + Tr("常在度表");
    FreqTable t;
    if (fidelity) {
        // The groups are checked as the fidelity command checks them.
        FidelityGroups(ws.table);
        t = MakeSynopticTable(ws.table, options, fidelityOptions);
        if (diagnosticOrder) t.SortRowsByBlocks();
    } else {
        t = MakeConstancyTable(ws.table, options);
    }
    if (!csv.empty()) WriteOutput(force, [&](auto ro) { WriteFreqTableCsv(csv, t, ro, encoding); });
    if (!text.empty())
        WriteOutput(force, [&](auto ro) { WriteFreqTableText(text, t, ShortDateToday(), ro, encoding); });
    if (!xlsx.empty()) WriteOutput(force, [&](auto ro) { WriteFreqTableSheet(t, xlsx, ro); });
    return 0;
}

}  // namespace tavik::cli
