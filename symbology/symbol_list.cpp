#include "symbology/symbol_list.h"

#include "input/number_text.h"
#include "input/text_decoding.h"

namespace tessaly {

void TItemSym::SetIconStyle(std::int32_t iconIndex, std::int32_t rollOverIcon, Colour colour,
                            std::uint8_t opacity) {
    IconIndex = iconIndex;
    RollOverIcon = rollOverIcon;
    IconColor = colour;
    IconOpacity = opacity;
}

void TItemSym::SetLineStyle(Colour colour, std::uint8_t width, std::uint8_t opacity) {
    LineColor = colour;
    LineWidth = width;
    LineOpacity = opacity;
}

void TItemSym::SetFillStyle(Colour colour, std::uint8_t opacity) {
    FillColor = colour;
    FillOpacity = opacity;
    FillMode = 3;
}

void TItemSym::AssignStyle(const TItemSym& source) {
    std::string keep = std::move(ValueText);
    *this = source;
    ValueText = std::move(keep);
}

TSymbolList::TSymbolList() { ResetSymbol(default_); }

void TSymbolList::SetFieldName(const std::string& name) { fieldName_ = TruncateCharacters(name, 30); }

void TSymbolList::SetNormField(const std::string& name) { normField_ = TruncateCharacters(name, 30); }

void TSymbolList::ResetSymbol(TItemSym& item) {
    item.SetIconStyle(114, 1, 0xFFFFFF, 100);
    item.ShowLabel = false;
    item.IconScale = 10;
    item.SetLineStyle(0xFF0000, 1, 100);
    item.SetFillStyle(0xFFCA95, 100);
}

TItemSym& TSymbolList::AddItem() {
    TItemSym& item = Items.Items().emplace_back();
    item.AssignStyle(default_);
    item.ValueText.clear();
    return item;
}

template <typename Set>
void TSymbolList::ForAllSymbols(Set set) {
    for (TItemSym& item : Items.Items()) set(item);
    set(default_);
}

void TSymbolList::SetOpacityToAll(int geometry, std::uint8_t opacity) {
    if (geometry == 1) ForAllSymbols([&](TItemSym& s) { s.IconOpacity = opacity; });
    if (geometry == 2) ForAllSymbols([&](TItemSym& s) { s.LineOpacity = opacity; });
    if (geometry == 3) ForAllSymbols([&](TItemSym& s) { s.FillOpacity = opacity; });
}

void TSymbolList::SetIconToAll(std::uint8_t iconIndex) {
    ForAllSymbols([&](TItemSym& s) { s.IconIndex = iconIndex; });
}

void TSymbolList::SetLineColorToAll(Colour colour) {
    ForAllSymbols([&](TItemSym& s) { s.LineColor = colour; });
}

void TSymbolList::LineColorFromFillToAll() {
    ForAllSymbols([](TItemSym& s) { s.LineColor = s.FillColor; });
}

void TSymbolList::SetLineWidthToAll(std::uint8_t width) {
    ForAllSymbols([&](TItemSym& s) { s.LineWidth = width; });
}

void TSymbolList::SetFillModeToAll(std::uint8_t fillMode) {
    ForAllSymbols([&](TItemSym& s) { s.FillMode = fillMode; });
}

std::int32_t TSymbolList::FindByValue(const std::string& text) const {
    for (std::int32_t k = 1; k <= Count(); ++k)
        if (Item(k).ValueText == text) return k;
    return 0;
}

void TSymbolList::BuildRanges() {
    ClearRanges();
    const std::int32_t n = Count();
    for (std::int32_t k = 1; k <= n; ++k) {
        const std::string& s = Item(k).ValueText;
        // "low : high": the blank on each side of the colon is skipped by position.
        const std::size_t colon = s.find(':');
        const std::size_t p = colon == std::string::npos ? 0 : colon + 1;  // 1-based, 0 if none
        const std::string low = p >= 2 ? s.substr(0, p - 2) : std::string();
        const std::string high = p + 1 <= s.size() ? s.substr(p + 1) : std::string();
        TItemRango r{TextToNumber(low), TextToNumber(high)};
        if (k == 1) r.Low -= 1000;
        if (k == n) r.High += 1000;
        Ranges.Items().push_back(r);
    }
}

std::int32_t TSymbolList::FindRange(double x) const {
    for (std::int32_t k = 1; k <= Ranges.Count(); ++k) {
        const TItemRango& r = Ranges.Item(k);
        if (r.Low <= x && x <= r.High) return k;
    }
    return 0;
}

}  // namespace tessaly
