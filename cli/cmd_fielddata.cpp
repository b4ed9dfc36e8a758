// make-fielddata: a field-data pair from a long-format CSV or a species × relevé matrix and
// a header description.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "formats/codec.h"
#include "formats/fielddata_import.h"
#include "formats/fielddata_writer.h"

namespace tavik::cli {

namespace {

// What was converted, so that the user sees it: the values per class, and every text that
// is written differently from the input.
void PrintReport(const FieldImportOptions& o, const FieldImportReport& report, const std::string& nameMap) {
    std::cerr << Arg(Tr("被度（尺度 %1）:"), {CoverScaleName(o.scale)});
    for (std::size_t i = 0; i < report.classes.size(); ++i)
        if (report.classes[i] || i < 7)
            std::cerr << (i ? ", " : " ") << kCoverClassLabels[i] << " " << report.classes[i];
    std::cerr << "\n";
    if (report.absences)
        std::cerr << Arg(Tr("被度 0 の行 %1 件は不在としてとばしました"), {std::to_string(report.absences)}) << "\n";
    if (!report.names.empty()) {
        std::cerr << Arg(Tr("種名 %1 件を書き換えました（対応表: %2）:"),
                         {std::to_string(report.names.size()), nameMap})
                  << "\n";
        for (const NameChange& c : report.names) std::cerr << "  " << c.from << " → " << c.to << "\n";
    }
    if (!report.sites.empty()) {
        std::cerr << Arg(Tr("地点の値 %1 件を書き換えました:"), {std::to_string(report.sites.size())}) << "\n";
        for (const SiteChange& c : report.sites) {
            char item[8];
            std::snprintf(item, sizeof item, "i%02d", c.item);
            std::cerr << "  " << Arg(Tr("測定 %1 の %2: %3 → %4"), {c.releve, item, c.from, c.to}) << "\n";
        }
    }
}

}  // namespace

int MakeFieldData(const Args& args) {
    ArgReader in(args);
    std::string csv, matrix;
    if (!args.empty() && args[0] == "--matrix") {
        in.Next();
        matrix = in.Value("--matrix");
    } else {
        csv = in.Positional("LONG.csv");
    }
    const std::string header = in.Positional("HEADER.txt");
    std::string out, sites;
    bool force = false, layerGiven = false, rBelowGiven = false;
    FieldImportOptions o;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "-o") out = in.Value(a);
        else if (a == "--sites") sites = in.Value(a);
        else if (a == "--force") force = in.Flag(a);
        else if (a == "--scale") {
            const std::string v = in.Value(a);
            const auto scale = CoverScaleNamed(v);
            if (!scale)
                throw UsageError{"--scale is bb, bb-extended, percent, londo, domin, ordinal or presence, not " + v};
            o.scale = *scale;
        } else if (a == "--r-below") {
            const std::string v = in.Value(a);
            if (!ParseDecimal(v, o.rBelow) || o.rBelow < 0 || o.rBelow > 1)
                throw UsageError{"--r-below is a percentage from 0 to 1, not " + v};
            rBelowGiven = true;
        } else if (a == "--layer") {
            const std::string v = in.Value(a);
            o.layer = LayerIndex(v);
            if (o.layer < 0) throw UsageError{"--layer is T1, T2, S1, S2, H1, H2 or M, not " + v};
            layerGiven = true;
        } else if (a == "--transpose") o.transpose = in.Flag(a);
        else if (a == "--transliterate") o.transliterate = in.Flag(a);
        else if (a == "--shorten") o.shorten = in.Flag(a);
        else if (a == "--round-sites") o.roundSites = in.Flag(a);
        else throw UsageError{"unknown option for make-fielddata: " + a};
    }
    if (out.empty()) throw UsageError{"make-fielddata needs -o DATA.tki"};
    if (matrix.empty() && (layerGiven || o.transpose)) throw UsageError{"--layer and --transpose go with --matrix"};
    if (rBelowGiven && o.scale != CoverScale::Percent) throw UsageError{"--r-below goes with --scale percent"};
    const FieldPairPaths pair = PairPathsFor(out);
    const std::string nameMap = NameMapPathFor(pair);
    CheckOutputs({{"DATA.tki", pair.index}, {"DATA.tkd", pair.data}, {"the name map", nameMap}},
                 {{"LONG.csv", csv}, {"MATRIX.csv", matrix}, {"HEADER.txt", header}, {"SITES.csv", sites}});

    FieldImporter importer(o);
    try {
        const FieldHeaderDescription description = ReadHeaderDescription(header);
        importer.CheckHeader(description);
        if (!sites.empty()) importer.ReadSites(sites);
        if (matrix.empty()) importer.ReadLong(csv);
        else importer.ReadMatrix(matrix);
        importer.Check();

        const auto readOnly = force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse;
        FieldDataWriter writer(out, description, readOnly);
        FieldReleve r;  // one at a time: its strings are reused
        for (std::size_t i = 0; i < importer.ReleveCount(); ++i) {
            importer.ReleveAt(i, r);
            writer.Add(r);
        }
        std::unique_ptr<AtomicFile> map;
        if (!importer.Report().names.empty()) {
            map = std::make_unique<AtomicFile>(nameMap, readOnly);
            map->Write(EncodeTextFile(NameMapCsv(importer.Report().names)));
        }
        writer.Finish();
        if (map) map->Commit();
        PrintReport(o, importer.Report(), nameMap);
        std::cerr << Arg(Tr("測定 %1 件を書きました: %2"), {std::to_string(writer.Count()), pair.index}) << "\n";
    } catch (const FieldImportError& e) {
        for (const std::string& line : e.Lines()) std::cerr << "tavik-cli: " << line << "\n";
        return 1;
    }
    return 0;
}

}  // namespace tavik::cli
