// fidelity: the diagnostic species of a saved table's groups as a CSV file.
#include <optional>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/fidelity_flags.h"
#include "cli/messages.h"
#include "cli/table_output.h"
#include "core/table_fidelity.h"
#include "formats/fidelity_csv.h"
#include "formats/workspace.h"

namespace tavik::cli {

int Fidelity(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    std::string csv, ini;
    bool force = false;
    std::optional<TextEncoding> encodingFlag;
    FidelityOptions options;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "--csv") csv = in.Value(a);
        else if (ReadFidelityFlag(a, in, options)) continue;
        else if (a == "--ini") ini = in.Value(a);
        else if (a == "--encoding") encodingFlag = ParseEncoding(in.Value(a));
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
    // Without --encoding, as the settings say (CP932 unless they chose UTF-8).
    const TextEncoding encoding =
        encodingFlag.value_or(ws.settings.utf8Files ? TextEncoding::Utf8 : TextEncoding::Cp932);
    ws.table.Recount();
    const std::vector<ReleveGroup> groups = FidelityGroups(ws.table);
    const FidelityResult r = TableFidelity(ws.table, groups, options);
    std::vector<std::string> names, labels;
    for (int p = 1; p <= ws.table.SpeciesCount(); ++p) names.push_back(ws.table.SpeciesName(ws.table.SpeciesKeyAt(p)));
    for (int g = 0; g < static_cast<int>(groups.size()); ++g) labels.push_back(GroupLabel(g));
    try {
        WriteFidelityCsv(csv, r, names, labels,
                         force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse, encoding);
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(Arg(Tr("%1（置き換えるには --force）"), {e.what()}));
    }
    return 0;
}

}  // namespace tavik::cli
