#include "screensaver/change_region.h"

int MergeChangeRow(const PixelRect* changes, int count, int first, int dx, int dy, PixelRect* rects, int& merged) {
    merged = 0;
    if (first < 0 || first >= count) return count;
    const int top = changes[first].top;
    int next = first;
    for (; next < count && changes[next].top == top; ++next) {
        const PixelRect& change = changes[next];
        if (merged > 0 && change.left + dx - rects[merged - 1].right <= MergeGap)
            rects[merged - 1].right = change.right + dx;
        else
            rects[merged++] = PixelRect{change.left + dx, change.top + dy, change.right + dx, change.bottom + dy};
    }
    return next;
}
