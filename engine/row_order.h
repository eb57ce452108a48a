#pragma once
// The order in which the placemarks are written: the live rows of the working
// table, in label order when there is a label field, with each row's label text
// kept beside it so that writing never reads the label from the table again.

#include "input/dbf_table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct OrderedRow {
    std::int32_t row = 0;     // 0-based row of the working table
    std::uint32_t label = 0;  // the row's label text, in RowOrder's store
};

class RowOrder {
public:
    std::vector<OrderedRow> rows;

    std::string_view Label(const OrderedRow& r) const {
        return std::string_view(texts_).substr(starts_[r.label], starts_[r.label + 1] - starts_[r.label]);
    }

    // Asks for the row's label to be brought into the cache: labels are read in
    // label order, which is not the order they are stored in.
    void PrefetchLabel(const OrderedRow& r) const { __builtin_prefetch(texts_.data() + starts_[r.label]); }

    // The live rows in table order, without labels.
    static RowOrder TableOrder(const DbfTable& table);
    // The live rows in ascending order of the field: numbers by value, texts ignoring
    // letter case first and then as they are; rows of equal value keep table order.
    static RowOrder LabelOrder(const DbfTable& table, int field);

private:
    // Texts end to end, in table order; text i is [starts_[i], starts_[i + 1]).
    std::string texts_;
    std::vector<std::uint32_t> starts_{0};
};

}  // namespace tessaly
