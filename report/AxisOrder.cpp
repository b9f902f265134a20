#include "report/AxisOrder.hpp"

#include <algorithm>

namespace tessen::report {

std::optional<std::array<int, 3>> axis_order(const ShownTriple& principal_moments) {
    if (!std::all_of(principal_moments.begin(), principal_moments.end(),
                     [](const Shown& moment) { return moment.has_value(); }))
        return std::nullopt;
    std::array<int, 3> order = {0, 1, 2};
    std::stable_sort(order.begin(), order.end(),
                     [&](int p, int q) { return *principal_moments[p] < *principal_moments[q]; });
    return order;
}

bool mirrors(const std::array<int, 3>& order) {
    int inversions = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            inversions += order[i] > order[j] ? 1 : 0;
    return inversions % 2 != 0;
}

} // namespace tessen::report
