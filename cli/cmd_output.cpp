// export and print: the outputs of a saved table from the command line.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/print_pdf.h"
#include "cli/table_output.h"
#include "formats/workspace.h"
#include "output/options.h"
#include "output/output_file.h"
#include "output/outputs.h"
#include "output/print_layout.h"
#include "output/site_exports.h"
#include "output/text_layout.h"

namespace tavik::cli {

namespace {

int Number(const std::string& opt, const std::string& text, int lo, int hi) {
    int v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size() || v < lo || v > hi)
        throw UsageError{opt + " must be a number from " + std::to_string(lo) + " to " + std::to_string(hi) + ", not " +
                         text};
    return v;
}

// A range of positions against the `count` the table has: one wholly outside it is bad
// usage, one that reaches past its end is cut there, with a note.
void FitRange(const std::string& opt, const std::string& text, const char* what, int count, int& first, int& last) {
    if (first > count) {
        if (count < 1) throw UsageError{opt + " " + text + ": the table has no " + what};
        throw UsageError{opt + " " + text + ": the table has " + what + " 1-" + std::to_string(count)};
    }
    if (last > count) {
        std::cerr << "tavik-cli: " << opt << " " << text << ": the table has " << what << " 1-" << count << ", so "
                  << first << "-" << count << " is written\n";
        last = count;
    }
}

// The choices the output panel offers, as flags; what is left out comes from the settings.
struct OutputFlags {
    std::string ini;
    bool haveItems = false;
    std::vector<int> items;
    std::string species, releves, title;
    bool haveTitle = false, frequency = false, once = false, force = false;
    int method = -1, direction = -1;
    std::optional<TextEncoding> encoding;  // else the settings' (CP932 unless they say UTF-8)

    // Reads one flag at `a`; false when `a` is not one of these.
    bool Read(const std::string& a, ArgReader& in) {
        if (a == "--ini") ini = in.Value(a);
        else if (a == "--items") {
            haveItems = true;
            const std::string list = in.Value(a);
            std::size_t start = 0;
            while (start <= list.size()) {
                const std::size_t comma = std::min(list.find(',', start), list.size());
                items.push_back(Number("--items", list.substr(start, comma - start), 1, kItemCount));
                start = comma + 1;
            }
        } else if (a == "--species") species = in.Value(a);
        else if (a == "--releves") releves = in.Value(a);
        else if (a == "--frequency") frequency = in.Flag(a);
        else if (a == "--once") once = in.Flag(a);
        else if (a == "--force") force = in.Flag(a);
        else if (a == "--encoding") encoding = ParseEncoding(in.Value(a));
        else if (a == "--method") method = Number(a, in.Value(a), 0, kConversionMethods - 1);
        else if (a == "--rows") {
            const std::string v = in.Value(a);
            if (v == "species") direction = 0;
            else if (v == "releves") direction = 1;
            else throw UsageError{"--rows is species or releves, not " + v};
        } else if (a == "--title") {
            title = in.Value(a);
            haveTitle = true;
        } else return false;
        return true;
    }

    // The program started on the settings, the table loaded (and counted, as loading does),
    // and the options of `mode`. `outputs` are checked against every input first, the
    // dictionaries of the settings too.
    OutputOptions Load(Workspace& ws, const std::string& table, OutputMode mode,
                       const std::vector<NamedFile>& outputs) const {
        CheckOutputs(outputs, TableInputs(table, ini));
        ws.Start(ini);
        CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
        LoadTableFromCli(ws, table);
        CheckOutputs(outputs, {{"the settings' dictionary", ws.dictFileName}});
        // Settings named on the command line come before the table's companion file.
        if (!ini.empty()) ws.ReadIniFile(ini);
        OutputOptions o = OutputOptionsFor(mode, ws.table, ws.settings);
        if (haveItems) {
            o.items.fill(false);
            for (int n : items) o.items[static_cast<std::size_t>(n)] = ws.table.HeaderRowOfItem(n) > 0;
        }
        if (!species.empty()) {
            ParseRange("--species", species, o.speciesFrom, o.speciesTo);
            FitRange("--species", species, "species", ws.table.SpeciesCount(), o.speciesFrom, o.speciesTo);
        }
        if (!releves.empty()) {
            ParseRange("--releves", releves, o.releveFrom, o.releveTo);
            FitRange("--releves", releves, "relevés", ws.table.ReleveCount(), o.releveFrom, o.releveTo);
        }
        ClampRanges(o, ws.table);
        // The title goes into the outputs only: the table is not saved here.
        if (haveTitle) o.title = title;
        if (frequency) o.frequency = true;
        if (once) o.onceSpecies = true;
        if (method >= 0) o.method = method;
        if (direction >= 0) o.direction = direction;
        o.replaceReadOnly = force;
        if (encoding) o.encoding = *encoding;
        return o;
    }
};

// Runs one output: a read-only file is named with the way round it, a file that had to
// be UTF-8 gets its notice on stderr.
template <class F>
void Written(const std::string& path, F&& write) {
    OutputReport report;
    try {
        report = write();
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(Arg(Tr("%1（置き換えるには --force）"), {e.what()}));
    }
    if (const std::string notice = Utf8OutputNotice(path, report); !notice.empty())
        std::cerr << "tavik-cli: " << Printable(notice) << "\n";
}

// What the layout leaves out is said on stderr, not silently dropped.
void SayWhatIsLeftOut(const Table& t, const OutputOptions& o, bool onceSpeciesMatter) {
    if (FrequencyLeftOut(t, o))
        std::cerr << "tavik-cli: "
                  << Arg(Tr("出現頻度の列はありません: 測定の範囲 %1 に種のある測定がありません"),
                         {std::to_string(o.releveFrom) + "-" + std::to_string(o.releveTo)})
                  << "\n";
    if (!onceSpeciesMatter) return;
    if (const int once = OnceSpeciesLeftOut(t, o); once > 0)
        std::cerr << "tavik-cli: "
                  << Arg(Tr("出現１回の種 %1 種は出力されていません（--once で一覧を付けます）"),
                         {std::to_string(once)})
                  << "\n";
}

}  // namespace

int Export(const Args& args) {
    ArgReader in(args);
    const std::string kind = in.Positional("text|xlsx|matrix|pcord|plot|gps|mesh");
    static const char* const kKinds[] = {"text", "xlsx", "matrix", "pcord", "plot", "gps", "mesh"};
    if (std::find(std::begin(kKinds), std::end(kKinds), kind) == std::end(kKinds))
        throw UsageError{"export text, xlsx, matrix, pcord, plot, gps or mesh, not " + kind};
    const std::string table = in.Positional("TABLE.vtb");
    OutputFlags flags;
    std::string out;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "-o") out = in.Value(a);
        else if (!flags.Read(a, in)) throw UsageError{"unknown option for export: " + a};
    }
    if (out.empty()) throw UsageError{"export needs -o OUT"};
    if (kind == "pcord" && NamesSpeciesList(out))
        throw UsageError{"export pcord -o " + out + ": a name ending in .lst would be overwritten by its species list"};

    OutputMode mode = OutputMode::Text;
    if (kind == "xlsx") mode = OutputMode::Spreadsheet;
    else if (kind == "matrix") mode = OutputMode::ValueMatrix;
    else if (kind == "pcord") mode = OutputMode::PCordMatrix;
    std::vector<NamedFile> outputs{{"-o", out}};
    if (mode == OutputMode::PCordMatrix) outputs.push_back({"the species list", SpeciesListPath(out)});
    Workspace ws;
    const OutputOptions o = flags.Load(ws, table, mode, outputs);
    Table& t = ws.table;
    Written(out, [&] {
        if (kind == "plot") return WriteSiteData(t, out, Target(o), o.encoding);
        if (kind == "gps") return WriteGpsPoints(t, out, Target(o));
        if (kind == "mesh") return WriteMeshData(t, out, Target(o));
        return WriteOutputFile(t, o, out);
    });
    if (mode == OutputMode::Text || mode == OutputMode::Spreadsheet) {
        t.Recount();
        SayWhatIsLeftOut(t, o, mode == OutputMode::Text);
    }
    return 0;
}

int Print(const Args& args) {
    ArgReader in(args);
    const std::string table = in.Positional("TABLE.vtb");
    OutputFlags flags;
    std::string pdf, text, font;
    bool simple = false;
    int size = 0, columns = 0;
    while (!in.Done()) {
        const std::string a = in.Next();
        if (a == "--pdf") pdf = in.Value(a);
        else if (a == "--text") text = in.Value(a);
        else if (a == "--simple") simple = in.Flag(a);
        else if (a == "--font") font = in.Value(a);
        else if (a == "--size") size = Number(a, in.Value(a), 1, 200);
        else if (a == "--columns") columns = Number(a, in.Value(a), 1, 100000);
        else if (!flags.Read(a, in)) throw UsageError{"unknown option for print: " + a};
    }
    if (pdf.empty() == text.empty()) throw UsageError{"print needs one of --pdf OUT.pdf and --text OUT.txt"};

    if (!pdf.empty()) HandOverToPdfPrinter();

    Workspace ws;
    OutputOptions o = flags.Load(ws, table, simple ? OutputMode::SimplePrint : OutputMode::Print,
                                 {{pdf.empty() ? "--text" : "--pdf", pdf.empty() ? text : pdf}});
    if (!font.empty()) o.fontName = font;
    if (size > 0) o.fontSize = size;
    ws.table.Recount();
    if (!pdf.empty()) {
        Written(pdf, [&] {
            PrintToPdf(ws.table, o, simple, pdf);
            return OutputReport{};
        });
        SayWhatIsLeftOut(ws.table, o, !simple);
        return 0;
    }
    // The text device: a page of `columns` five-byte (full) or two-byte (simple) columns;
    // without --columns, as many as the font's half-width characters across an A4 page.
    const int bytes = columns > 0 ? columns * (simple ? 2 : 5) : A4TextWidth(o.fontSize);
    Written(text, [&] {
        return WriteTextOutput(
            text,
            [&](LineSink& sink) {
                TextFileDevice device(sink, bytes);
                if (simple) PrintSimple(ws.table, o, device);
                else PrintFull(ws.table, o, device);
            },
            Target(o), o.encoding);
    });
    SayWhatIsLeftOut(ws.table, o, !simple);
    return 0;
}

int A4TextWidth(int pointSize) {
    // 210 mm less two margins of 15 mm, in half-width characters of the font (half an em).
    const double points = (210.0 - 2 * kPrintMarginMillimetres) / 25.4 * 72.0;
    return static_cast<int>(std::floor(points / (pointSize / 2.0)));
}

}  // namespace tavik::cli
