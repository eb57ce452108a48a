#include "input/coordinate_lists.h"

#include <cmath>

namespace tessaly {

double TListaXY::Length() const {
    double sum = 0;
    for (std::size_t k = 1; k < items_.size(); ++k) {
        const double dx = items_[k].X - items_[k - 1].X;
        const double dy = items_[k].Y - items_[k - 1].Y;
        const double d = dx * dx + dy * dy;
        if (d > 0) sum += std::sqrt(d);
    }
    return sum;
}

}  // namespace tessaly
