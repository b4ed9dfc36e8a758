#include "core/table_fidelity.h"

#include <algorithm>

#include "core/covers.h"
#include "core/cp932_width.h"
#include "core/messages.h"

namespace tavik {

FidelityResult TableFidelity(const Table& t, const std::vector<ReleveGroup>& groups, const FidelityOptions& options) {
    const int G = static_cast<int>(groups.size());
    std::vector<int> groupOf(static_cast<std::size_t>(t.ReleveCount()) + 1, -1);
    std::vector<int> sizes(static_cast<std::size_t>(G), 0);
    for (int g = 0; g < G; ++g) {
        const ReleveGroup& gr = groups[static_cast<std::size_t>(g)];
        for (int q = std::max(gr.first, 1); q <= gr.last && q <= t.ReleveCount(); ++q) {
            groupOf[static_cast<std::size_t>(q)] = g;
            ++sizes[static_cast<std::size_t>(g)];
        }
    }
    return ComputeFidelity(sizes, CountPresence(t, groupOf, G), options);
}

std::vector<ReleveGroup> FidelityGroups(const Table& t) {
    if (t.SpeciesCount() == 0 || t.ReleveCount() == 0)
        throw ConstancyRefused(Tr("種または測定がない表では忠実度を計算できません。"));
    std::vector<ReleveGroup> groups = ConstancyGroups(t);
    const int G = static_cast<int>(groups.size());
    if (G > kMaxConstancyGroups)
        throw ConstancyRefused(
            Arg(Tr("区分が %1 あります。忠実度は %2 区分（区切りの空白列 29 本）までです。空白列を減らしてください。"),
                {std::to_string(G), std::to_string(kMaxConstancyGroups)}));
    int filled = 0;
    for (const ReleveGroup& g : groups) filled += g.size > 0;
    if (filled < 2)
        throw ConstancyRefused(
            Tr("測定を含む区分が 1 つしかないため、忠実度を計算できません。"
               "区分の境に空白列を挿入してください。"));

    return groups;
}

std::vector<int> DiagnosticSpeciesOrder(const Table& t, const FidelityOptions& options) {
    const FidelityResult r = TableFidelity(t, FidelityGroups(t), options);
    std::vector<int> order = DiagnosticBlockOrder(r);
    for (int& s : order) ++s;  // species index s is position s + 1
    return order;
}

FreqTable MakeSynopticTable(const Table& t, const ConstancyOptions& constancy, const FidelityOptions& fidelity,
                            Progress* progress) {
    FreqTable table = MakeConstancyTable(t, constancy, progress);
    const std::vector<ReleveGroup> groups = ConstancyGroups(t);
    const FidelityResult r = TableFidelity(t, groups, fidelity);
    const int S = r.Species(), G = r.Groups();
    const auto row = [](int s) { return s + 3; };
    // The class part of the cells that get a phi, padded to the widest of them.
    int classWidth = 0;
    for (int s = 0; s < S; ++s)
        for (int g = 0; g < G; ++g)
            if (r.Count(s, g) > 0 && r.Phi(s, g))
                classWidth = std::max(classWidth, Cp932Width(table.Text(g + 1, row(s))));
    for (int s = 0; s < S; ++s)
        for (int g = 0; g < G; ++g) {
            if (r.Count(s, g) > 0 && r.Phi(s, g))
                table.SetText(g + 1, row(s),
                              Cp932Fit(table.Text(g + 1, row(s)), classWidth) + " │" +
                                  Cp932Fit(PhiPercentText(*r.Phi(s, g)), 3, Cp932Align::Right));
            if (r.Diagnostic(s, g)) table.SetShade(g + 1, row(s), g + 1);
        }
    for (int g = 0; g < G; ++g) table.SetShade(g + 1, 0, g + 1);
    const std::vector<int> order = DiagnosticBlockOrder(r);
    for (int i = 0; i < S; ++i) {
        const int s = order[static_cast<std::size_t>(i)];
        table.SetRowBlock(row(s), r.BlockGroup(s), i);
    }
    if (classWidth > 0) {
        // Class, " │", three digits: the columns widen to hold them, and so does print.
        const int bytes = classWidth + 3 + 3;
        const int pt = t.FontSize;
        table.defaultColWidth =
            std::max(table.defaultColWidth, static_cast<int>(RoundHalfEven(pt * (0.75 * bytes + 1.0))));
        table.printCellWidth = bytes + 1;
    }
    return table;
}

bool SplitSynopticCell(std::string_view cell, std::string& classText, std::string& phiText) {
    static constexpr std::string_view kBar = " │";
    const std::size_t bar = cell.rfind(kBar);
    if (bar == std::string_view::npos) {
        classText.assign(cell);
        phiText.clear();
        return false;
    }
    std::string_view cls = cell.substr(0, bar), phi = cell.substr(bar + kBar.size());
    while (!cls.empty() && cls.back() == ' ') cls.remove_suffix(1);
    while (!phi.empty() && phi.front() == ' ') phi.remove_prefix(1);
    classText.assign(cls);
    phiText.assign(phi);
    return true;
}

std::uint32_t GroupTintRgb(int shade) {
    static constexpr std::uint32_t kTints[] = {0xFFC4C4, 0xBED7FF, 0xC8F0B4, 0xFFE1A0,
                                               0xE1C8FF, 0xAFEBEB, 0xF0D2B4, 0xF5F5AA};
    return kTints[(std::max(shade, 1) - 1) % 8];
}

std::string GroupLabel(int g) { return std::string(1, static_cast<char>(65 + g)); }

std::string PhiPercentText(double phi) { return std::to_string(RoundHalfEven(phi * 100)); }

}  // namespace tavik
