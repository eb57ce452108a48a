#pragma once
// A list addressed from 1 (0 stands for none), over contiguous storage.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaly {

template <typename T>
class OneBasedList {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }

    // Position 1 is the first item. A reference stays valid until the list changes.
    T& Item(std::int32_t i) { return items_[CheckedIndex(i)]; }
    const T& Item(std::int32_t i) const { return items_[CheckedIndex(i)]; }

    void Clear() { items_.clear(); }
    void Reserve(std::size_t n) { items_.reserve(n); }

    const std::vector<T>& Items() const { return items_; }
    std::vector<T>& Items() { return items_; }

private:
    std::size_t CheckedIndex(std::int32_t i) const {
        if (i < 1 || i > Count())
            throw std::out_of_range("list position " + std::to_string(i) + " is outside 1.." +
                                    std::to_string(Count()));
        return static_cast<std::size_t>(i - 1);
    }

protected:
    std::vector<T> items_;
};

}  // namespace tessaly
