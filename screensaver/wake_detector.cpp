#include "screensaver/wake_detector.h"

bool MouseMoveWakes(WakeDetector& detector, int x, int y) {
    if (!detector.hasOrigin) {
        detector = WakeDetector{true, x, y};
        return false;
    }
    const int dx = x > detector.originX ? x - detector.originX : detector.originX - x;
    const int dy = y > detector.originY ? y - detector.originY : detector.originY - y;
    return dx > WakeDistance || dy > WakeDistance;
}
