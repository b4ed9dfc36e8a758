#include "formats/membership_file.h"

#include <algorithm>
#include <stdexcept>

#include "core/messages.h"
#include "formats/codec.h"
#include "formats/csv_field.h"
#include "formats/fielddata_writer.h"
#include "formats/file_error.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

std::string Trim(std::string s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

namespace {

std::vector<std::pair<std::string, std::string>> ReadMembershipLines(TextLineFile& file, const std::string& fileName) {
    // Every line is decoded once first, so that a line that does not decode is named before
    // anything else; then the file is read again, a line at a time.
    std::string line;
    while (file.Next(line)) {
    }
    file.Rewind();
    bool more = file.Next(line);
    while (more && Trim(line).empty()) more = file.Next(line);
    if (!more)
        throw std::runtime_error(Arg(Tr("%1 に見出し行がありません（releve と group の列が必要です）。"), {fileName}));
    const std::vector<std::string> heading = SplitCsvLine(line);
    int releve = -1, group = -1;
    for (std::size_t i = 0; i < heading.size(); ++i) {
        const std::string h = Lower(Trim(heading[i]));
        if ((h == "releve" || h == "測定番号") && releve < 0)  // data, not interface
            releve = static_cast<int>(i);
        if ((h == "group" || h == "群") && group < 0)  // data, not interface
            group = static_cast<int>(i);
    }
    if (releve < 0 || group < 0)
        throw std::runtime_error(
            Arg(Tr("%1: 見出しに %2 の列がありません。"),
                {FileLine(fileName, file.LineNumber()), releve < 0 ? Tr("releve（測定番号）") : Tr("group（群）")}));
    const std::size_t need = static_cast<std::size_t>(std::max(releve, group)) + 1;
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> f;
    while (file.Next(line)) {
        if (Trim(line).empty()) continue;
        SplitCsvLine(line, f);
        const auto at = [&] { return FileLine(fileName, file.LineNumber()); };
        if (f.size() < need)
            throw std::runtime_error(Arg(Tr("%1: 欄が %2 個しかありません（%3 個必要です）。"),
                                         {at(), std::to_string(f.size()), std::to_string(need)}));
        std::string label = Trim(f[static_cast<std::size_t>(group)]);
        if (label.empty() || label == "NA") throw std::runtime_error(Arg(Tr("%1: 群が空欄です。"), {at()}));
        pairs.emplace_back(Trim(f[static_cast<std::size_t>(releve)]), std::move(label));
    }
    return pairs;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ParseMembership(std::string_view bytes, const std::string& fileName) {
    TextLineFile file(bytes, fileName);
    return ReadMembershipLines(file, fileName);
}

std::vector<std::pair<std::string, std::string>> ReadMembershipFile(const std::string& path) {
    TextLineFile file(path);
    return ReadMembershipLines(file, path);
}

std::string MembershipCsvText(const std::vector<MembershipLine>& lines) {
    std::string s = "position,releve,group\r\n";
    for (const MembershipLine& m : lines)
        s += std::to_string(m.position) + "," + CsvFieldWhereNeeded(m.releve) + "," + CsvFieldWhereNeeded(m.group) +
             "\r\n";
    return s;
}

void WriteMembershipFile(const std::string& path, const std::vector<MembershipLine>& lines,
                         AtomicFile::ReadOnlyTarget readOnly) {
    WriteFileAtomic(path, EncodeTextFile(MembershipCsvText(lines)), readOnly);
}

void WriteNewickFile(const std::string& path, const std::string& newick, AtomicFile::ReadOnlyTarget readOnly) {
    WriteFileAtomic(path, newick, readOnly);
}

}  // namespace tavik
