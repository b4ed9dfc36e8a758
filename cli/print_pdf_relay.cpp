// tavik-cli without Qt: `print --pdf` runs in tavik-pdf, built from the same commands.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>

#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/print_pdf.h"
#include "core/language.h"

// Where the installed tavik-pdf lies, from the folder of the installed tavik-cli.
#ifndef TAVIK_PDF_PRINTER_FROM_BIN
#define TAVIK_PDF_PRINTER_FROM_BIN "../lib/tavik/tavik-pdf"
#endif

namespace tavik::cli {

namespace {

// The folder of this program's executable file, with its final slash.
std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<size_t>(n) >= path.size()) return {};
    path.resize(static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

void HandOverToPdfPrinter() {
    const std::string folder = ProgramFolder();
    char** argv = ProgramArguments();
    // Only the tavik-pdf beside this program (a build folder) or in the installed program's
    // own folder runs, never one of the working folder or of the search path.
    if (folder.empty() || !argv)
        throw std::runtime_error(Tr("PDF に印刷するプログラム tavik-pdf の場所がわかりません"));
    const std::string beside = folder + "tavik-pdf";
    const std::string installed = folder + TAVIK_PDF_PRINTER_FROM_BIN;
    std::cout.flush();
    std::fflush(nullptr);
    ::setenv("TAVIK_CLI_LANGUAGE", LanguageCode(InterfaceLanguage()), 1);
    std::string tried = beside;
    ::execv(beside.c_str(), argv);
    if (errno == ENOENT) {
        tried = installed;
        ::execv(installed.c_str(), argv);
    }
    if (errno == ENOENT)
        throw std::runtime_error(
            Arg(Tr("PDF に印刷するプログラム tavik-pdf が見つかりません（%1 にも %2 にもありません）"),
                {beside, installed}));
    throw std::runtime_error(
        Arg(Tr("PDF に印刷するプログラム %1 を起動できません (%2)"), {tried, std::strerror(errno)}));
}

void PrintToPdf(const Table&, const OutputOptions&, bool, const std::string&) {
    throw std::logic_error("tavik-cli prints PDF files through tavik-pdf");
}

}  // namespace tavik::cli
