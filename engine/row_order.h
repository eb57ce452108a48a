#pragma once
// The order in which the placemarks are written: the live rows of the working
// table, in label order when there is a label field, with each row's label text
// kept beside it so that writing never reads the label from the table again.

#include "input/dbf_table.h"
#include "input/huge_pages.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Texts end to end in blocks of 2 MB (the first of 64 KB), each ended by a zero byte
// (a table's text holds none): the store grows without moving, or doubling, what it
// holds.
class LabelStore {
public:
    static constexpr unsigned kBlockBits = 21;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
    static constexpr std::size_t kFirstBlockSize = std::size_t{1} << 16;

    // Stores the text; where it begins. Throws TableError past 4 GB in all.
    std::uint32_t Add(std::string_view text);
    const char* At(std::uint32_t start) const {
        return blocks_[start >> kBlockBits].data() + (start & (kBlockSize - 1));
    }
    // Where the next text would begin in the last block.
    std::uint32_t End() const;

private:
    std::vector<HugePageVector<char>> blocks_;
    std::size_t used_ = 0;  // of the last block
};

struct OrderedRow {
    std::int32_t row = 0;          // 0-based row of the working table
    std::uint32_t labelStart = 0;  // where the row's label begins in RowOrder's store
};

class RowOrder {
public:
    HugePageVector<OrderedRow> rows;

    std::string_view Label(const OrderedRow& r) const { return labels_.At(r.labelStart); }

    // Asks for the row's label to be brought into the cache: labels are read in
    // label order, which is not the order they are stored in.
    void PrefetchLabel(const OrderedRow& r) const { __builtin_prefetch(labels_.At(r.labelStart)); }

    // The live rows in table order, without labels.
    static RowOrder TableOrder(const DbfTable& table);
    // The live rows in ascending order of the field: numbers by value, texts ignoring
    // letter case first and then as they are; rows of equal value keep table order.
    static RowOrder LabelOrder(const DbfTable& table, int field);

private:
    LabelStore labels_;  // in table order
};

}  // namespace tessaly
