// info and sort: saved tables from the command line.
#include <iostream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/summary.h"
#include "cli/table_output.h"
#include "core/sorting.h"
#include "formats/workspace.h"

namespace tavik::cli {

int Info(const Args& args) {
    if (args.size() != 1) throw UsageError{"info takes one saved table"};
    Workspace ws;
    ws.Start("");
    LoadTableFromCli(ws, args[0]);
    PrintSummary(ws.table, std::cout);
    return 0;
}

int Sort(const Args& args) {
    ArgReader in(args);
    const std::string what = in.Positional("species|releves");
    if (what != "species" && what != "releves") throw UsageError{"sort species or releves, not " + what};
    const std::string table = in.Positional("TABLE.vtb");
    std::string out, ini, range;
    bool ascending = false, force = false, hasRange = false;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "-o") out = in.Value(a);
        else if (a == "--range") range = in.Value(a), hasRange = true;
        else if (a == "--ascending") ascending = in.Flag(a);
        else if (a == "--ini") ini = in.Value(a);
        else if (a == "--force") force = in.Flag(a);
        else throw UsageError{"unknown option for sort: " + a};
    }
    if (out.empty()) throw UsageError{"sort needs -o OUT.vtb"};

    CheckSettingsFileExists(ini);
    // The sorted table may replace the table it came from, not its settings.
    std::vector<NamedFile> inputs = TableInputs(table, ini);
    inputs.erase(inputs.begin());
    CheckOutputs({{"-o", out}}, inputs);

    Workspace ws;
    ws.Start(ini);
    CheckOutputs({{"-o", out}}, {{"the settings' dictionary", ws.dictFileName}});
    LoadTableFromCli(ws, table);
    CheckOutputs({{"-o", out}}, {{"the settings' dictionary", ws.dictFileName}});
    const bool species = what == "species";
    int first = 1;
    int last = species ? ws.table.SpeciesCount() : ws.table.ReleveCount();
    if (hasRange) ParseRange("--range", range, first, last);
    if (species) SortSpecies(ws.table, first, last, !ascending);
    else SortReleves(ws.table, first, last, !ascending);
    SaveTableFromCli(ws, out, force);
    return 0;
}

}  // namespace tavik::cli
