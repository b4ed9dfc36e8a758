#include "formats/fidelity_csv.h"

#include <cstdio>

#include "core/headings.h"
#include "formats/codec.h"
#include "formats/csv_field.h"

namespace tavik {

namespace {

constexpr const char* kEol = "\r\n";

}  // namespace

std::string PhiCsvText(double phi) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", phi * 100);
    std::string s = buf;
    return s == "-0.0" ? "0.0" : s;
}

std::string PValueText(double p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", p);
    return buf;
}

std::string FidelityCsvLines(const FidelityResult& r, const std::vector<std::string>& names,
                             const std::vector<std::string>& labels) {
    std::string s = HeadingText(Heading::Species);
    for (int g = 0; g < r.Groups(); ++g) {
        const std::string& l = labels[static_cast<std::size_t>(g)];
        s += "," + CsvFieldWhereNeeded(l + HeadingText(Heading::Occurrences) + std::to_string(r.GroupSize(g))) + "," +
             CsvFieldWhereNeeded(l + HeadingText(Heading::PhiTimes100)) + "," + CsvFieldWhereNeeded(l + " p");
    }
    s += std::string(",") + HeadingText(Heading::BestGroup) + "," + HeadingText(Heading::DiagnosticGroups);
    s += kEol;
    for (int sp = 0; sp < r.Species(); ++sp) {
        s += CsvFieldWhereNeeded(names[static_cast<std::size_t>(sp)]);
        std::string diagnostic;
        for (int g = 0; g < r.Groups(); ++g) {
            s += "," + std::to_string(r.Count(sp, g)) + ",";
            if (const auto phi = r.Phi(sp, g)) s += PhiCsvText(*phi);
            s += ",";
            if (const auto p = r.P(sp, g)) s += PValueText(*p);
            if (r.Diagnostic(sp, g))
                diagnostic += (diagnostic.empty() ? "" : " ") + labels[static_cast<std::size_t>(g)];
        }
        s += ",";
        if (r.BestGroup(sp) >= 0) s += CsvFieldWhereNeeded(labels[static_cast<std::size_t>(r.BestGroup(sp))]);
        s += "," + CsvFieldWhereNeeded(diagnostic) + kEol;
    }
    return s;
}

void WriteFidelityCsv(const std::string& path, const FidelityResult& r, const std::vector<std::string>& names,
                      const std::vector<std::string>& labels, AtomicFile::ReadOnlyTarget readOnly,
                      TextEncoding encoding) {
    const std::string lines = FidelityCsvLines(r, names, labels);
    WriteFileAtomic(path, encoding == TextEncoding::Utf8 ? "\xEF\xBB\xBF" + lines : EncodeTextFile(lines), readOnly);
}

}  // namespace tavik
