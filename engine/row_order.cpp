#include "engine/row_order.h"

#include "input/huge_pages.h"
#include "input/letter_case.h"
#include "input/radix_sort.h"

#include <algorithm>
#include <cstring>

namespace tessaly {

std::uint32_t LabelStore::Add(std::string_view text) {
    if (text.size() + 1 > kBlockSize) throw TableError("a label of " + std::to_string(text.size()) + " bytes is longer than 2 MB");
    if (blocks_.empty() || used_ + text.size() + 1 > blocks_.back().size()) {
        if (blocks_.size() == (std::size_t{1} << (32 - kBlockBits)))
            throw TableError("the labels pass 4 GB");
        // Most stores are small: the first block is, and keeps small pages. The others
        // are whole huge pages.
        blocks_.emplace_back(blocks_.empty() ? kFirstBlockSize : kBlockSize);
        used_ = 0;
        if (text.size() + 1 > blocks_.back().size()) return Add(text);
    }
    char* to = blocks_.back().data() + used_;
    std::copy(text.begin(), text.end(), to);
    to[text.size()] = '\0';
    const auto start = static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) + used_);
    used_ += text.size() + 1;
    return start;
}

std::uint32_t LabelStore::End() const {
    if (blocks_.empty()) return 0;
    return static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) + used_);
}

namespace {

// A key is the text's number (its row among the live rows) under four case-folded
// bytes of the text from the depth being sorted: sorting keys as plain numbers
// sorts by those bytes, and keeps table order among texts that share them.
using Key = std::uint64_t;

std::uint32_t TextOf(Key k) { return static_cast<std::uint32_t>(k); }

// Sorts texts as LessIgnoringCase orders them: by their case-folded bytes (a text
// before any longer one it begins), then by their own bytes, then by table order: four bytes at a time, going deeper
// only among texts that are still level. Keys enter every round in table order, and
// each round's sort is stable, so table order survives among equal bytes.
class TextSorter {
public:
    TextSorter(const LabelStore& texts, const HugePageVector<std::uint32_t>& starts, std::size_t count)
        : texts_(texts), starts_(starts) {
        spare_.resize(count);
    }

    void Sort(Key* first, Key* last, std::size_t depth) {
        // The texts are visited out of their stored order: ask for them a little ahead.
        // Where a text begins is itself out of order: ask for that twice as far ahead.
        constexpr std::ptrdiff_t kAhead = 16;
        for (Key* k = first; k != last; ++k) {
            if (last - k > 2 * kAhead) __builtin_prefetch(&starts_[TextOf(k[2 * kAhead])]);
            if (last - k > kAhead) __builtin_prefetch(texts_.At(starts_[TextOf(k[kAhead])]) + depth);
            *k = Key{Chunk(TextOf(*k), depth)} << 32 | TextOf(*k);
        }
        SortByChunk(first, last);
        for (Key* run = first; run != last;) {
            Key* end = run + 1;
            while (end != last && *end >> 32 == *run >> 32) ++end;
            if (end - run > 1) SortLevel(run, end, depth);
            run = end;
        }
    }

private:
    // A stable sort on the upper half, the four bytes of text.
    void SortByChunk(Key* first, Key* last) {
        const auto n = static_cast<std::size_t>(last - first);
        if (n < 256) {
            std::sort(first, last);  // the lower half, the text's number, keeps them stable
            return;
        }
        RadixSort(std::span<Key>(first, n), spare_, 4, 8);
    }

    // A text and its zero end where the next begins, unless that one opened a new block.
    std::size_t Length(std::uint32_t t) const {
        const std::uint32_t from = starts_[t], to = starts_[t + 1];
        return from >> LabelStore::kBlockBits == to >> LabelStore::kBlockBits ? to - from - 1 : std::strlen(texts_.At(from));
    }

    std::string_view Text(std::uint32_t t) const { return std::string_view(texts_.At(starts_[t]), Length(t)); }

    std::uint32_t Chunk(std::uint32_t t, std::size_t depth) const {
        const std::size_t length = Length(t);
        const char* text = texts_.At(starts_[t]);
        std::uint32_t chunk = 0;
        for (std::size_t i = depth; i < depth + 4; ++i)
            chunk = chunk << 8 | (i < length ? FoldCase(static_cast<unsigned char>(text[i])) : 0u);
        return chunk;
    }

    // Texts level up to depth + 4. Those that end there come first, shorter first (each
    // begins the longer ones), equal lengths by their own bytes and then in table
    // order; the texts that go on are sorted on the next four bytes.
    void SortLevel(Key* first, Key* last, std::size_t depth) {
        const std::size_t ends = depth + 4;
        // Those that go on keep table order, kept aside while the others close up.
        Key* ended = first;
        Key* aside = spare_.data();
        for (Key* k = first; k != last; ++k) {
            if (Length(TextOf(*k)) <= ends) *ended++ = *k;
            else *aside++ = *k;
        }
        std::copy(spare_.data(), aside, ended);
        Key* const goesOn = ended;
        std::sort(first, goesOn, [&](Key a, Key b) {
            const std::uint32_t ta = TextOf(a), tb = TextOf(b);
            if (Length(ta) != Length(tb)) return Length(ta) < Length(tb);
            const int c = Text(ta).compare(Text(tb));
            return c != 0 ? c < 0 : ta < tb;
        });
        if (last - goesOn > 1) Sort(goesOn, last, ends);
    }

    const LabelStore& texts_;
    const HugePageVector<std::uint32_t>& starts_;
    HugePageVector<Key> spare_;
};

}  // namespace

RowOrder RowOrder::TableOrder(const DbfTable& table) {
    RowOrder order;
    order.labels_.Add("");  // every row's label
    order.rows.reserve(static_cast<std::size_t>(table.RecordCount()));
    for (int row = 0; row < table.RecordCount(); ++row)
        if (!table.IsDeleted(row)) order.rows.push_back({row, 0});
    return order;
}

RowOrder RowOrder::LabelOrder(const DbfTable& table, int field) {
    RowOrder order;
    const bool numeric = table.Fields()[static_cast<std::size_t>(field)].kind == FieldKind::Numeric;
    HugePageVector<Key> keys;
    std::vector<double> numbers;
    std::vector<std::int32_t> liveRows;  // the row of each text, when rows are deleted
    HugePageVector<std::uint32_t> starts;  // text i begins at starts[i]
    keys.reserve(static_cast<std::size_t>(table.RecordCount()));
    starts.reserve(static_cast<std::size_t>(table.RecordCount()) + 1);
    for (int row = 0; row < table.RecordCount(); ++row) {
        if (table.IsDeleted(row)) {
            if (liveRows.empty())
                for (int r = 0; r < row; ++r) liveRows.push_back(r);
            continue;
        }
        const std::string text = table.Text(row, field);
        if (!liveRows.empty() || keys.size() != static_cast<std::size_t>(row)) liveRows.push_back(row);
        keys.push_back(keys.size());
        if (numeric) numbers.push_back(table.Number(row, field));
        try {
            starts.push_back(order.labels_.Add(text));
        } catch (const TableError& e) {
            throw TableError(table.Path() + ": " + e.what());
        }
    }
    starts.push_back(order.labels_.End());
    if (numeric)
        std::sort(keys.begin(), keys.end(), [&](Key a, Key b) {
            const double x = numbers[a], y = numbers[b];
            return x != y ? x < y : a < b;
        });
    else
        TextSorter(order.labels_, starts, keys.size()).Sort(keys.data(), keys.data() + keys.size(), 0);
    order.rows.reserve(keys.size());
    for (const Key k : keys) {
        const std::uint32_t t = TextOf(k);
        order.rows.push_back({liveRows.empty() ? static_cast<std::int32_t>(t) : liveRows[t], starts[t]});
    }
    return order;
}

}  // namespace tessaly
