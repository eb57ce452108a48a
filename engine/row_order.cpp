#include "engine/row_order.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace tessaly {

namespace {

// std::tolower of every byte, looked up rather than called in the sort's inner loops.
struct LowerCase {
    unsigned char of[256];
    LowerCase() {
        for (int c = 0; c < 256; ++c) of[c] = static_cast<unsigned char>(std::tolower(c));
    }
};
const LowerCase kLower;

struct Key {
    std::uint64_t chunk;  // eight lower-cased bytes of the text, from the depth being sorted
    std::uint32_t text;
    std::int32_t row;
};

// Sorts texts by their lower-cased bytes (a text before any longer one it begins),
// then by their own bytes, then by row: eight bytes at a time, each round a sort of
// plain numbers, going deeper only among texts that are still level.
class TextSorter {
public:
    TextSorter(const std::string& texts, const std::vector<std::uint32_t>& starts) : texts_(texts), starts_(starts) {}

    void Sort(Key* first, Key* last, std::size_t depth) const {
        for (Key* k = first; k != last; ++k) k->chunk = Chunk(*k, depth);
        std::sort(first, last, [](const Key& a, const Key& b) { return a.chunk < b.chunk; });
        for (Key* run = first; run != last;) {
            Key* end = run + 1;
            while (end != last && end->chunk == run->chunk) ++end;
            if (end - run > 1) SortLevel(run, end, depth);
            run = end;
        }
    }

private:
    std::size_t Length(const Key& k) const { return starts_[k.text + 1] - starts_[k.text]; }

    std::string_view Text(const Key& k) const {
        return std::string_view(texts_).substr(starts_[k.text], Length(k));
    }

    std::uint64_t Chunk(const Key& k, std::size_t depth) const {
        const std::string_view t = Text(k);
        std::uint64_t chunk = 0;
        for (std::size_t i = depth; i < depth + 8; ++i)
            chunk = chunk << 8 | (i < t.size() ? kLower.of[static_cast<unsigned char>(t[i])] : 0u);
        return chunk;
    }

    // Texts level up to depth + 8. Those that end there come first, shorter first (each
    // begins the longer ones), equal lengths by their own bytes and then by row; the
    // texts that go on are sorted on the next eight bytes.
    void SortLevel(Key* first, Key* last, std::size_t depth) const {
        const std::size_t ends = depth + 8;
        Key* goesOn = std::partition(first, last, [&](const Key& k) { return Length(k) <= ends; });
        std::sort(first, goesOn, [&](const Key& a, const Key& b) {
            if (Length(a) != Length(b)) return Length(a) < Length(b);
            const int c = Text(a).compare(Text(b));
            return c != 0 ? c < 0 : a.row < b.row;
        });
        if (last - goesOn > 1) Sort(goesOn, last, ends);
    }

    const std::string& texts_;
    const std::vector<std::uint32_t>& starts_;
};

}  // namespace

RowOrder RowOrder::TableOrder(const DbfTable& table) {
    RowOrder order;
    order.starts_.push_back(0);  // every row's label is the one empty text
    order.rows.reserve(static_cast<std::size_t>(table.RecordCount()));
    for (int row = 0; row < table.RecordCount(); ++row)
        if (!table.IsDeleted(row)) order.rows.push_back({row, 0});
    return order;
}

RowOrder RowOrder::LabelOrder(const DbfTable& table, int field) {
    RowOrder order;
    const bool numeric = table.Fields()[static_cast<std::size_t>(field)].kind == FieldKind::Numeric;
    std::vector<Key> keys;
    std::vector<double> numbers;
    keys.reserve(static_cast<std::size_t>(table.RecordCount()));
    order.starts_.reserve(static_cast<std::size_t>(table.RecordCount()) + 1);
    for (int row = 0; row < table.RecordCount(); ++row) {
        if (table.IsDeleted(row)) continue;
        const std::string text = table.Text(row, field);
        if (order.texts_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
            throw TableError(table.Path() + ": the texts of the label field pass 4 GB");
        keys.push_back({0, static_cast<std::uint32_t>(keys.size()), row});
        if (numeric) numbers.push_back(table.Number(row, field));
        order.texts_ += text;
        order.starts_.push_back(static_cast<std::uint32_t>(order.texts_.size()));
    }
    if (numeric)
        std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
            const double x = numbers[a.text], y = numbers[b.text];
            return x != y ? x < y : a.row < b.row;
        });
    else
        TextSorter(order.texts_, order.starts_).Sort(keys.data(), keys.data() + keys.size(), 0);
    order.rows.reserve(keys.size());
    for (const Key& k : keys) order.rows.push_back({k.row, k.text});
    return order;
}

}  // namespace tessaly
