#pragma once
// The symbology: a default symbol and numbered class symbols, with class lookup.

#include "input/one_based_list.h"

#include <cstdint>
#include <string>

namespace tessaly {

// Colours are Windows colour values: red in the low byte, blue in bits 16..23.
using Colour = std::uint32_t;

struct TItemSym {
    Colour IconColor = 0xFFFFFF;
    Colour LineColor = 0xFF0000;
    Colour FillColor = 0xFFCA95;
    std::uint8_t IconOpacity = 100;  // percent
    std::uint8_t LineOpacity = 100;
    std::uint8_t FillOpacity = 100;
    std::uint8_t LineWidth = 1;      // pixels, 0..10
    std::uint8_t FillMode = 3;       // 1 filled, 2 outlined, 3 filled and outlined
    std::int32_t IconIndex = 114;    // palette number, 1..163
    std::int32_t RollOverIcon = 1;
    bool ShowLabel = false;
    std::uint8_t IconScale = 10;     // tenths
    std::string ValueText;           // the class key; empty in the default symbol

    void SetIconStyle(std::int32_t iconIndex, std::int32_t rollOverIcon, Colour colour,
                      std::uint8_t opacity);
    void SetLineStyle(Colour colour, std::uint8_t width, std::uint8_t opacity);
    // Also makes the symbol filled and outlined.
    void SetFillStyle(Colour colour, std::uint8_t opacity);
    double Scale() const { return IconScale / 10.0; }
    // Every field of source but ValueText.
    void AssignStyle(const TItemSym& source);
};

struct TItemRango {
    double Low = 0;
    double High = 0;
};

// Classification kinds.
enum : std::uint8_t { kSingleSymbol = 1, kUniqueValues = 2, kGraduated = 3 };

class TSymbolList {
public:
    TSymbolList();

    OneBasedList<TItemSym> Items;     // class k is item k
    OneBasedList<TItemRango> Ranges;  // range k belongs to item k; see BuildRanges
    std::uint8_t UniqueRamp = 1;
    std::uint8_t GradRamp = 27;
    Colour FromColor = 0x00FFFF;
    Colour ToColor = 0x0000FF;
    std::uint8_t RampMode = 1;  // 1 ramp list GradRamp, 2 FromColor to ToColor
    std::uint8_t Kind = 0;      // 0 and 1 single symbol, 2 unique values, 3 graduated

    const std::string& FieldName() const { return fieldName_; }
    const std::string& NormField() const { return normField_; }
    // Both keep at most 30 characters.
    void SetFieldName(const std::string& name);
    void SetNormField(const std::string& name);

    TItemSym& DefaultSymbol() { return default_; }
    const TItemSym& DefaultSymbol() const { return default_; }

    static void ResetSymbol(TItemSym& item);
    // A new class styled as the default symbol, with an empty ValueText.
    TItemSym& AddItem();
    std::int32_t Count() const { return Items.Count(); }
    TItemSym& Item(std::int32_t k) { return Items.Item(k); }
    const TItemSym& Item(std::int32_t k) const { return Items.Item(k); }
    void Clear() { Items.Clear(); }

    // Each sets one field in every class and in the default symbol.
    // Geometry 1 icons, 2 lines, 3 fills; any other geometry changes nothing.
    void SetOpacityToAll(int geometry, std::uint8_t opacity);
    void SetIconToAll(std::uint8_t iconIndex);
    void SetLineColorToAll(Colour colour);
    void LineColorFromFillToAll();
    void SetLineWidthToAll(std::uint8_t width);
    void SetFillModeToAll(std::uint8_t fillMode);

    // Unique values: the first class whose ValueText equals text exactly; 0 if none.
    std::int32_t FindByValue(const std::string& text) const;

    // Graduated classes: ranges from the "low : high" texts, the first range widened
    // by 1000 below and the last by 1000 above.
    void BuildRanges();
    void ClearRanges() { Ranges.Clear(); }
    // The first range with Low <= x <= High; 0 if none.
    std::int32_t FindRange(double x) const;

private:
    template <typename Set>
    void ForAllSymbols(Set set);

    TItemSym default_;
    std::string fieldName_;
    std::string normField_;
};

}  // namespace tessaly
