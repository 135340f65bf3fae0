#include "ui/kit/reading_order.h"

#include <algorithm>
#include <numeric>

namespace zrv::kit {

namespace {

/// Twice the vertical middle, so that odd heights need no rounding.
int DoubleMiddle(const QRect& r) { return 2 * r.y() + r.height(); }

/// True when the vertical middle of \p r lies within the height of \p band.
bool MiddleWithin(const QRect& r, const QRect& band) {
    const int middle = DoubleMiddle(r);
    return middle >= 2 * band.y() && middle <= 2 * (band.y() + band.height());
}

}  // namespace

bool OnOneRow(const QRect& a, const QRect& b) { return MiddleWithin(a, b) || MiddleWithin(b, a); }

std::vector<int> ReadingOrder(const std::vector<QRect>& rects) {
    std::vector<int> byTop(rects.size());
    std::iota(byTop.begin(), byTop.end(), 0);
    std::stable_sort(byTop.begin(), byTop.end(), [&](int a, int b) {
        if (rects[a].y() != rects[b].y()) return rects[a].y() < rects[b].y();
        return rects[a].x() < rects[b].x();
    });
    std::vector<int> order;
    order.reserve(rects.size());
    std::vector<bool> placed(rects.size(), false);
    for (const int opener : byTop) {
        if (placed[opener]) continue;
        // The opener's row: it and every rectangle not yet placed on one row with it.
        std::vector<int> row;
        for (const int candidate : byTop)
            if (!placed[candidate] && (candidate == opener || OnOneRow(rects[opener], rects[candidate])))
                row.push_back(candidate);
        std::stable_sort(row.begin(), row.end(), [&](int a, int b) {
            if (rects[a].x() != rects[b].x()) return rects[a].x() < rects[b].x();
            return rects[a].y() < rects[b].y();
        });
        for (const int i : row) {
            placed[i] = true;
            order.push_back(i);
        }
    }
    return order;
}

}  // namespace zrv::kit
