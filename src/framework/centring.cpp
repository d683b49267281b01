#include "framework/centring.h"

namespace fw {
namespace {

int CentredEdge(int size, int onFirst, int onLast, int workFirst, int workLast) {
    int edge = onFirst + (onLast - onFirst - size) / 2;
    if (edge + size > workLast)
        edge = workLast - size;
    if (edge < workFirst)
        edge = workFirst;
    return edge;
}

} // namespace

Point CentredOrigin(int width, int height, const Rect& on, const Rect& work) {
    return {CentredEdge(width, on.left, on.right, work.left, work.right),
            CentredEdge(height, on.top, on.bottom, work.top, work.bottom)};
}

} // namespace fw
