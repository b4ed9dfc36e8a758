// tavik-cli: the table operations from the command line.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "core/language.h"
#include "formats/language_setting.h"
#include "formats/workspace.h"

namespace {

const char* kUsage = tavik::cli::TrNoop(
    "usage:\n"
    "  tavik-cli info TABLE.vtb\n"
    "  tavik-cli sort species|releves TABLE.vtb -o OUT.vtb [--range FIRST-LAST] [--ascending]\n"
    "            [--ini SETTINGS.ini] [--force]\n"
    "  tavik-cli retrieve DATA.tki [-o TABLE.vtb] [--ini SETTINGS.ini] [--dict FILE.dic]...\n"
    "            [--species NAME[:CLASS[:CONNECTIVE]]]... [--mesh PREFIX] [--records FIRST-LAST]\n"
    "            [--into EXISTING.vtb] [--title TITLE] [--force]\n"
    "  tavik-cli make-fielddata LONG.csv HEADER.txt -o DATA.tki [--sites SITES.csv] [--scale SCALE]\n"
    "            [--r-below PERCENT] [--transliterate] [--shorten] [--round-sites] [--force]\n"
    "  tavik-cli make-fielddata --matrix MATRIX.csv HEADER.txt -o DATA.tki [--layer H1] [--transpose]\n"
    "            [...the options of the long form]\n"
    "            SCALE: bb, bb-extended, percent, londo, domin, ordinal, presence\n"
    "  tavik-cli ra TABLE.vtb [--dominance] [--scores SCORES.csv] [-o OUT.vtb] [--ini SETTINGS.ini]\n"
    "            [--encoding cp932|utf-8] [--force]\n"
    "  tavik-cli constancy TABLE.vtb (--csv OUT.csv | --text OUT.txt | --xlsx OUT.xlsx)...\n"
    "            [--kind 0-4] [--blank] [--fidelity] [--no-equalize] [--threshold 30]\n"
    "            [--alpha 0.05|none] [--order table|diagnostic] [--title TITLE]\n"
    "            [--ini SETTINGS.ini] [--encoding cp932|utf-8] [--force]\n"
    "  tavik-cli export text|xlsx|matrix|pcord|plot|gps|mesh TABLE.vtb -o OUT [--ini S.ini]\n"
    "            [--items N,N,...] [--species FIRST-LAST] [--releves FIRST-LAST] [--frequency]\n"
    "            [--once] [--method 0-6] [--rows species|releves] [--title TITLE]\n"
    "            [--encoding cp932|utf-8] [--force]\n"
    "  tavik-cli print TABLE.vtb (--pdf OUT.pdf | --text OUT.txt) [--simple] [--font NAME]\n"
    "            [--size PT] [--columns N] [...the ranges and items of export] [--force]\n"
    "  tavik-cli fidelity TABLE.vtb --csv OUT.csv [--no-equalize] [--threshold 30]\n"
    "            [--alpha 0.05|none] [--ini SETTINGS.ini] [--encoding cp932|utf-8] [--force]\n"
    "  tavik-cli classify TABLE.vtb [--distance bray|jaccard|sorensen|euclid|chord]\n"
    "            [--linkage ward|flexible|average|complete|single] [--beta -0.25] [--method 0-6]\n"
    "            [--sqrt] [--releves FIRST-LAST] [--species FIRST-LAST]\n"
    "            [--groups K | --groups best[:FROM-TO]] [--scan FROM-TO] [--order leaf|ra]\n"
    "            [--membership OUT.csv] [--newick OUT.nwk] [-o OUT.vtb] [--ini S.ini] [--force]\n"
    "  tavik-cli groups TABLE.vtb (--from MEMBERSHIP.csv -o OUT.vtb | --list OUT.csv)\n"
    "            [--ini SETTINGS.ini] [--force]\n"
    "  tavik-cli --help\n"
    "--force replaces an output file that is read-only. --encoding: text and CSV files are\n"
    "CP932 unless asked for UTF-8 (written with a BOM).\n"
    "言語: 日本語は LANGUAGE, LC_ALL, LC_MESSAGES, LANG が ja... か C のとき、英語はその他のとき。\n"
    "設定ファイルの [Interface] Language=ja|en|system で決められます。\n");

char** programArguments = nullptr;

// The settings file the desktop program uses when it is installed beside this one: its
// Language chooses the language here too.
std::string DesktopSettingsPath() {
    std::string self(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= self.size()) return {};
    self.resize(static_cast<std::size_t>(n));
    return tavik::DefaultIniPath(self.substr(0, self.rfind('/') + 1) + "tavik");
}

}  // namespace

namespace tavik::cli {
void SetProgramArguments(char** argv) { programArguments = argv; }
char** ProgramArguments() { return programArguments; }
}  // namespace tavik::cli

int main(int argc, char** argv) {
    using namespace tavik::cli;
    // tavik-pdf, started by tavik-cli for `print --pdf`, speaks the language tavik-cli chose.
    const char* handed = std::getenv("TAVIK_CLI_LANGUAGE");
    if (handed && (std::string(handed) == "ja" || std::string(handed) == "en"))
        tavik::SetInterfaceLanguage(std::string(handed) == "en" ? tavik::Language::English : tavik::Language::Japanese);
    else tavik::SetInterfaceLanguage(tavik::ChooseProcessLanguage(DesktopSettingsPath()));
    if (argc < 2) {
        std::cerr << Tr(kUsage);
        return 2;
    }
    SetProgramArguments(argv);
    const std::string cmd = argv[1];
    Args args(argv + 2, argv + argc);
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        std::cout << Tr(kUsage);
        return 0;
    }
    try {
        if (cmd == "info") return Info(args);
        if (cmd == "sort") return Sort(args);
        if (cmd == "retrieve") return Retrieve(args);
        if (cmd == "make-fielddata") return MakeFieldData(args);
        if (cmd == "ra") return ReciprocalAveraging(args);
        if (cmd == "constancy") return Constancy(args);
        if (cmd == "export") return Export(args);
        if (cmd == "print") return Print(args);
        if (cmd == "fidelity") return Fidelity(args);
        if (cmd == "classify") return Classify(args);
        if (cmd == "groups") return Groups(args);
        throw UsageError{"unknown command: " + cmd};
    } catch (const UsageError& e) {
        std::cerr << "tavik-cli: " << Printable(e.message) << "\n" << Tr(kUsage);
        return 2;
    } catch (const std::exception& e) {
        // One line: messages written for a message box may span several, and names from
        // files may hold control characters.
        std::cerr << "tavik-cli: " << Printable(e.what()) << "\n";
        return 1;
    }
}
