// fidelity: the diagnostic species of a saved table's groups as a CSV file.
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/table_output.h"
#include "core/table_fidelity.h"
#include "formats/fidelity_csv.h"
#include "formats/workspace.h"

namespace tavik::cli {

namespace {

double ParseNumber(const std::string& opt, const std::string& text) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v == v)) throw UsageError{opt + " takes a number, not " + text};
    return v;
}

}  // namespace

int Fidelity(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    std::string csv, ini;
    bool force = false;
    FidelityOptions options;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "--csv") csv = in.Value(a);
        else if (a == "--no-equalize") options.equalize = !in.Flag(a);
        else if (a == "--threshold") {
            options.threshold = ParseNumber(a, in.Value(a));
            if (options.threshold < 0 || options.threshold > 100)
                throw UsageError{"--threshold takes phi x 100, from 0 to 100"};
        } else if (a == "--alpha") {
            const std::string v = in.Value(a);
            if (v == "none") options.alpha.reset();
            else {
                options.alpha = ParseNumber(a, v);
                if (*options.alpha <= 0 || *options.alpha > 1)
                    throw UsageError{"--alpha takes a level above 0 and at most 1, or none"};
            }
        } else if (a == "--ini") ini = in.Value(a);
        else if (a == "--force") force = in.Flag(a);
        else throw UsageError{"unknown option for fidelity: " + a};
    }
    if (csv.empty()) throw UsageError{"fidelity needs --csv OUT.csv"};
    CheckOutputs({{"--csv", csv}}, TableInputs(table, ini));
    Workspace ws;
    ws.Start(ini);
    CheckOutputs({{"--csv", csv}}, {{"the settings' dictionary", ws.dictFileName}});
    LoadTableFromCli(ws, table);
    CheckOutputs({{"--csv", csv}}, {{"the settings' dictionary", ws.dictFileName}});
    ws.table.Recount();
    const std::vector<ReleveGroup> groups = FidelityGroups(ws.table);
    const FidelityResult r = TableFidelity(ws.table, groups, options);
    std::vector<std::string> names, labels;
    for (int p = 1; p <= ws.table.SpeciesCount(); ++p) names.push_back(ws.table.SpeciesName(ws.table.SpeciesKeyAt(p)));
    for (int g = 0; g < static_cast<int>(groups.size()); ++g) labels.push_back(GroupLabel(g));
    try {
        WriteFidelityCsv(csv, r, names, labels,
                         force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse);
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(std::string(e.what()) + "（置き換えるには --force）");
    }
    return 0;
}

}  // namespace tavik::cli
