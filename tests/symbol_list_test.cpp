#include "symbology/symbol_list.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(SymbolList, NewListHasTheFactoryDefaultSymbol) {
    const TSymbolList list;
    EXPECT_EQ(list.Count(), 0);
    const TItemSym& d = list.DefaultSymbol();
    EXPECT_EQ(d.IconIndex, 114);
    EXPECT_EQ(d.RollOverIcon, 1);
    EXPECT_EQ(d.IconColor, 0xFFFFFFu);
    EXPECT_EQ(d.IconOpacity, 100);
    EXPECT_EQ(d.LineColor, 0xFF0000u);
    EXPECT_EQ(d.LineWidth, 1);
    EXPECT_EQ(d.LineOpacity, 100);
    EXPECT_EQ(d.FillColor, 0xFFCA95u);
    EXPECT_EQ(d.FillOpacity, 100);
    EXPECT_EQ(d.FillMode, 3);
    EXPECT_DOUBLE_EQ(d.Scale(), 1.0);
    EXPECT_EQ(list.GradRamp, 27);
    EXPECT_EQ(list.UniqueRamp, 1);
    EXPECT_EQ(list.RampMode, 1);
}

TEST(SymbolList, NewClassesCopyTheEditedDefaultButNotItsValue) {
    TSymbolList list;
    list.DefaultSymbol().SetLineStyle(0x00FF00, 7, 40);
    list.DefaultSymbol().FillMode = 2;
    list.DefaultSymbol().ValueText = "stale";
    TItemSym& item = list.AddItem();
    EXPECT_EQ(item.LineColor, 0x00FF00u);
    EXPECT_EQ(item.LineWidth, 7);
    EXPECT_EQ(item.LineOpacity, 40);
    EXPECT_EQ(item.FillMode, 2);
    EXPECT_EQ(item.ValueText, "");
    item.SetFillStyle(0x123456, 30);
    EXPECT_EQ(item.FillMode, 3);
}

TEST(SymbolList, AssignStyleKeepsTheClassKey) {
    TItemSym a, b;
    a.ValueText = "Texas";
    b.IconIndex = 5;
    b.ValueText = "Ohio";
    a.AssignStyle(b);
    EXPECT_EQ(a.IconIndex, 5);
    EXPECT_EQ(a.ValueText, "Texas");
}

TEST(SymbolList, FindsUniqueValuesExactly) {
    TSymbolList list;
    EXPECT_EQ(list.FindByValue("abc"), 0);
    list.AddItem().ValueText = "ABC";
    list.AddItem().ValueText = "abc";
    list.AddItem().ValueText = "5";
    EXPECT_EQ(list.FindByValue("abc"), 2);
    EXPECT_EQ(list.FindByValue("ABC"), 1);
    EXPECT_EQ(list.FindByValue("5.0"), 0);
    EXPECT_EQ(list.FindByValue(" abc"), 0);
}

TEST(SymbolList, GraduatedRangesWidenTheOuterClasses) {
    TSymbolList list;
    list.AddItem().ValueText = "0.00 : 10.00";
    list.AddItem().ValueText = "10.00 : 20.00";
    list.BuildRanges();
    ASSERT_EQ(list.Ranges.Count(), 2);
    EXPECT_DOUBLE_EQ(list.Ranges.Item(1).Low, -1000);
    EXPECT_DOUBLE_EQ(list.Ranges.Item(2).High, 1020);
    EXPECT_EQ(list.FindRange(10), 1);  // a shared boundary belongs to the lower class
    EXPECT_EQ(list.FindRange(10.0001), 2);
    EXPECT_EQ(list.FindRange(-999.5), 1);
    EXPECT_EQ(list.FindRange(1020), 2);
    EXPECT_EQ(list.FindRange(1020.01), 0);
    list.ClearRanges();
    EXPECT_EQ(list.FindRange(5), 0);
}

TEST(SymbolList, RangeTextsAreCutByPosition) {
    TSymbolList list;
    list.AddItem().ValueText = "5 : 5";
    list.BuildRanges();
    EXPECT_DOUBLE_EQ(list.Ranges.Item(1).Low, -995);
    EXPECT_DOUBLE_EQ(list.Ranges.Item(1).High, 1005);

    list.Clear();
    list.AddItem().ValueText = "-1.50000 : 0.50000";
    list.AddItem().ValueText = "0.50000 : 12.75000";
    list.AddItem().ValueText = "12.75000 : 100.00000";
    list.BuildRanges();
    EXPECT_DOUBLE_EQ(list.Ranges.Item(1).Low, -1001.5);
    EXPECT_DOUBLE_EQ(list.Ranges.Item(2).Low, 0.5);
    EXPECT_DOUBLE_EQ(list.Ranges.Item(2).High, 12.75);
    EXPECT_DOUBLE_EQ(list.Ranges.Item(3).High, 1100);

    // Without a colon the low text is empty and the high text starts at the second character.
    list.Clear();
    list.AddItem().ValueText = "x7";
    list.AddItem().ValueText = "x8";
    list.BuildRanges();
    EXPECT_DOUBLE_EQ(list.Ranges.Item(2).Low, 0);
    EXPECT_DOUBLE_EQ(list.Ranges.Item(1).High, 7);
}

TEST(SymbolList, ToAllSettersReachEveryClassAndTheDefault) {
    TSymbolList list;
    list.AddItem().FillColor = 0x0000AA;
    list.AddItem().FillColor = 0x00BB00;
    list.SetOpacityToAll(4, 10);
    EXPECT_EQ(list.Item(1).IconOpacity, 100);
    EXPECT_EQ(list.Item(1).LineOpacity, 100);
    EXPECT_EQ(list.Item(1).FillOpacity, 100);
    list.SetOpacityToAll(2, 25);
    EXPECT_EQ(list.Item(2).LineOpacity, 25);
    EXPECT_EQ(list.DefaultSymbol().LineOpacity, 25);
    EXPECT_EQ(list.Item(2).FillOpacity, 100);
    list.LineColorFromFillToAll();
    EXPECT_EQ(list.Item(1).LineColor, 0x0000AAu);
    EXPECT_EQ(list.Item(2).LineColor, 0x00BB00u);
    EXPECT_EQ(list.DefaultSymbol().LineColor, 0xFFCA95u);
    list.SetIconToAll(163);
    list.SetLineWidthToAll(9);
    list.SetFillModeToAll(2);
    for (const TItemSym* s : {&list.Item(1), &list.Item(2), &list.DefaultSymbol()}) {
        EXPECT_EQ(s->IconIndex, 163);
        EXPECT_EQ(s->LineWidth, 9);
        EXPECT_EQ(s->FillMode, 2);
    }
}

TEST(SymbolList, FieldNamesKeepThirtyCharacters) {
    TSymbolList list;
    list.SetFieldName(std::string(40, 'x'));
    EXPECT_EQ(list.FieldName().size(), 30u);
    // Thirty characters, not thirty bytes: a two-byte letter is never cut in half.
    std::string accented;
    for (int i = 0; i < 31; ++i) accented += "\xC3\xA9";
    list.SetNormField(accented);
    EXPECT_EQ(list.NormField().size(), 60u);
    EXPECT_THROW(list.Item(1), std::out_of_range);
}

}  // namespace
}  // namespace tessaly
