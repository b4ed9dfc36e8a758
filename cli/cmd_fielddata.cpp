// make-fielddata: a field-data pair from a long-format CSV and a header description.
#include <iostream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "formats/fielddata_writer.h"

namespace tavik::cli {

int MakeFieldData(const Args& args) {
    ArgReader in(args);
    const std::string csv = in.Positional("LONG.csv");
    const std::string header = in.Positional("HEADER.txt");
    std::string out, sites;
    bool force = false;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "-o") out = in.Value(a);
        else if (a == "--sites") sites = in.Value(a);
        else if (a == "--force") force = in.Flag(a);
        else throw UsageError{"unknown option for make-fielddata: " + a};
    }
    if (out.empty()) throw UsageError{"make-fielddata needs -o DATA.tki"};
    const FieldPairPaths pair = PairPathsFor(out);
    CheckOutputs({{"DATA.tki", pair.index}, {"DATA.tkd", pair.data}},
                 {{"LONG.csv", csv}, {"HEADER.txt", header}, {"SITES.csv", sites}});

    const FieldHeaderDescription description = ReadHeaderDescription(header);
    const std::vector<FieldReleve> releves = ReadLongCsv(csv, sites);
    FieldDataWriter writer(out, description,
                           force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse);
    for (const FieldReleve& r : releves) writer.Add(r);
    writer.Finish();
    std::cerr << "測定 " << writer.Count() << " 件を書きました: " << pair.index << "\n";
    return 0;
}

}  // namespace tavik::cli
