// Typing over names and header values, and choosing a cell's covers: what may be edited,
// the byte widths, and edits that go back exactly.
#include <gtest/gtest.h>

#include "core/cover_edit.h"
#include "core/cp932_width.h"
#include "core/text_edit.h"
#include "formats/saved_table.h"
#include "test_helpers.h"

using namespace tavik;
using namespace tavik::testing;

namespace {

// Relevés {A,B}, {A,C}, {D}, with a site name and an altitude in relevé 1, and a comment
// row (a row without cells) at the end.
Table EditTable() {
    Table t = MakeTable({{"A", "B"}, {"A", "C"}, {"D"}});
    t.SetText(4, 2, "SITEA-01");  // item 2
    t.SetText(4, 4, "  50");      // item 8
    const int p = t.AppendSpecies("― 林縁の種 ―");
    EXPECT_GT(p, 0);
    t.Recount();
    return t;
}

int RowOfName(const Table& t, const std::string& name) {
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == name) return t.FNRow() + p;
    return -1;
}

}  // namespace

TEST(EditableText, OnlyNamesHeaderValuesAndItemNames) {
    const Table t = EditTable();
    const int fn = t.FNRow();
    const int rowA = RowOfName(t, "A");
    EXPECT_EQ(EditableTextAt(t, 2, rowA).kind, EditableKind::SpeciesName);
    EXPECT_EQ(EditableTextAt(t, 2, rowA).maxWidth, kSpeciesNameWidth);
    const EditableText comment = EditableTextAt(t, 2, RowOfName(t, "― 林縁の種 ―"));
    EXPECT_EQ(comment.kind, EditableKind::CommentRow);
    EXPECT_EQ(comment.maxWidth, 0);

    // Keys, sequence numbers, counts, cell codes and the serial number are not texts to type.
    for (const auto& [col, row] : std::vector<std::pair<int, int>>{{0, rowA},
                                                                   {1, rowA},
                                                                   {3, rowA},
                                                                   {4, rowA},
                                                                   {4, 0},
                                                                   {4, 1},
                                                                   {4, fn},
                                                                   {2, fn},
                                                                   {3, fn},
                                                                   {2, fn + t.SpeciesCount() + 1},
                                                                   {4 + t.ReleveCount(), 2},
                                                                   {1, 2},
                                                                   {3, 2}})
        EXPECT_EQ(EditableTextAt(t, col, row).kind, EditableKind::None) << col << "," << row;

    const EditableText site = EditableTextAt(t, 4, 2);
    EXPECT_EQ(site.kind, EditableKind::HeaderValue);
    EXPECT_EQ(site.item, 2);
    EXPECT_EQ(site.maxWidth, 8);
    EXPECT_FALSE(site.rightAlign);
    const EditableText altitude = EditableTextAt(t, 4, 4);
    EXPECT_EQ(altitude.item, 8);
    EXPECT_EQ(altitude.maxWidth, 4);
    EXPECT_TRUE(altitude.rightAlign);
    const EditableText name = EditableTextAt(t, 2, 1);
    EXPECT_EQ(name.kind, EditableKind::ItemName);
    EXPECT_EQ(name.item, 1);
}

TEST(EditableText, WidthsAreCp932BytesAndNeverSplitACharacter) {
    const EditableText name{EditableKind::SpeciesName, kSpeciesNameWidth};
    bool cut = true;
    EXPECT_EQ(FitEditedText(name, "Quercus serrata", &cut), "Quercus serrata");
    EXPECT_FALSE(cut);
    // Fourteen full-width characters are exactly 28 bytes; a fifteenth is left out.
    const std::string fourteen = "コナラミズナラクヌギアベマキカ";
    EXPECT_EQ(Cp932Width(fourteen), 30);
    EXPECT_EQ(FitEditedText(name, fourteen, &cut), "コナラミズナラクヌギアベマキ");
    EXPECT_TRUE(cut);
    // 27 ASCII bytes and a full-width character: the character does not fit half.
    const std::string odd = std::string(27, 'a') + "種";
    EXPECT_EQ(FitEditedText(name, odd, &cut), std::string(27, 'a'));
    EXPECT_TRUE(cut);
    // Half-width katakana take one byte each.
    EXPECT_EQ(FitEditedText(name, std::string(14, 'x') + "ｺﾅﾗｺﾅﾗｺﾅﾗｺﾅﾗﾐﾐﾐ", &cut).size(), 14u + 14u * 3u);

    const EditableText number{EditableKind::HeaderValue, 4, true, 8};
    EXPECT_EQ(FitEditedText(number, "50"), "  50");
    EXPECT_EQ(FitEditedText(number, " 120 "), " 120");
    EXPECT_EQ(FitEditedText(number, ""), "");
    EXPECT_EQ(FitEditedText(number, "12345", &cut), "1234");
    EXPECT_TRUE(cut);
    const EditableText text{EditableKind::HeaderValue, 8, false, 3};
    EXPECT_EQ(FitEditedText(text, "三ツ峠山頂付近", &cut), "三ツ峠山");
    EXPECT_TRUE(cut);
}

TEST(TextEdit, GoesBackByteForByteAndFollowsItsKey) {
    Table t = EditTable();
    const std::string start = SavedTableBytes(t);
    const int rowB = RowOfName(t, "B");

    TextEdit name = MakeTextEdit(t, 2, rowB, "Betula platyphylla var. japonica");
    EXPECT_EQ(name.before, "B");
    EXPECT_EQ(name.after, "Betula platyphylla var. japo");
    TextEdit site = MakeTextEdit(t, 5, 2, "TOKYO");
    TextEdit altitude = MakeTextEdit(t, 4, 4, "1200");
    TextEdit item = MakeTextEdit(t, 2, 2, "調査番号");
    ApplyTextEdit(t, name);
    ApplyTextEdit(t, site);
    ApplyTextEdit(t, altitude);
    ApplyTextEdit(t, item);
    EXPECT_EQ(t.Text(2, rowB), name.after);
    EXPECT_EQ(t.Text(5, 2), "TOKYO");
    EXPECT_EQ(t.Text(4, 4), "1200");
    EXPECT_EQ(t.ItemBoxes[2].caption, "調査番号");
    EXPECT_NE(SavedTableBytes(t), start);

    // Rows and columns moved meanwhile: the edit still finds its species and relevé.
    ASSERT_TRUE(t.MoveRow(rowB, t.FNRow() + 1));
    ASSERT_TRUE(t.MoveColumn(5, 4));
    for (const TextEdit* e : {&item, &altitude, &site, &name}) ApplyTextEdit(t, *e, false);
    ASSERT_TRUE(t.MoveColumn(4, 5));
    ASSERT_TRUE(t.MoveRow(t.FNRow() + 1, rowB));
    EXPECT_EQ(SavedTableBytes(t), start);
    EXPECT_NE(t.ItemBoxes[2].caption, "調査番号");

    // Not an editable cell: nothing to apply.
    EXPECT_EQ(MakeTextEdit(t, 4, rowB, "5555").kind, EditableKind::None);
}

TEST(CoverClasses, EveryValueSplitsAndJoinsAgain) {
    for (int v = 0; v <= 255; ++v) {
        const auto value = static_cast<std::uint8_t>(v);
        const CoverClass c = ClassOf(value);
        if (c == CoverClass::Other) {
            EXPECT_TRUE(v >= 56 || v % 10 > 5) << v;
            continue;
        }
        EXPECT_EQ(CoverValue(c, SociabilityOf(value)), value) << v;
        EXPECT_GE(SociabilityOf(value), MinSociability(c));
        EXPECT_LE(SociabilityOf(value), MaxSociability(c));
    }
    EXPECT_EQ(CoverValue(CoverClass::Plus, 0), 1);  // "+" always has a sociability
    EXPECT_EQ(CoverValue(CoverClass::Rare, 4), 6);  // "r" has none
    EXPECT_EQ(CoverValue(CoverClass::C3, 2), 32);
    EXPECT_EQ(ClassMark(CoverClass::C5), "5");
    EXPECT_EQ(ClassMark(CoverClass::Star), "*");
}

TEST(CoverEdit, WritesCoversAndCodeTogetherAndGoesBack) {
    Table t = EditTable();
    const std::string start = SavedTableBytes(t);
    const int rowB = RowOfName(t, "B"), rowD = RowOfName(t, "D");

    // A new occurrence: B enters relevé 3.
    CoverEdit add;
    ASSERT_TRUE(MakeCoverEdit(t, 6, rowB, Covers({0, 23, 1, 6, 0, 12, 8}), add));
    EXPECT_EQ(add.textAfter, " 2+e");
    EXPECT_EQ(add.textBefore, "");
    ApplyCoverEdit(t, add);
    t.Recount();
    EXPECT_EQ(t.Text(6, rowB), " 2+e");
    EXPECT_EQ(t.Text(3, rowB), "   2");
    EXPECT_EQ(t.Text(6, t.FNRow()), "   2");

    // A cell emptied in every layer leaves the relevé; "*" alone keeps four blanks.
    CoverEdit remove, star;
    ASSERT_TRUE(MakeCoverEdit(t, 6, rowD, EmptyLayers, remove));
    EXPECT_EQ(remove.textAfter, "");
    ApplyCoverEdit(t, remove);
    ASSERT_TRUE(MakeCoverEdit(t, 4, rowB, Covers({0, 0, 0, 0, 7}), star));
    EXPECT_EQ(star.textAfter, "    ");
    ApplyCoverEdit(t, star);
    t.Recount();
    EXPECT_TRUE(t.CellEmpty(t.ReleveKeyOfCol(6), t.SpeciesKeyOfRow(rowD)));
    EXPECT_FALSE(t.CellEmpty(t.ReleveKeyOfCol(4), t.SpeciesKeyOfRow(rowB)));

    for (const CoverEdit* e : {&star, &remove, &add}) ApplyCoverEdit(t, *e, false);
    t.Recount();
    EXPECT_EQ(SavedTableBytes(t), start);

    // Only cells of a used species row and a used relevé column.
    CoverEdit none;
    EXPECT_FALSE(MakeCoverEdit(t, 3, rowB, EmptyLayers, none));
    EXPECT_FALSE(MakeCoverEdit(t, 4, 2, EmptyLayers, none));
    EXPECT_FALSE(MakeCoverEdit(t, 7, rowB, EmptyLayers, none));
}
