// Decides which mouse movements end the full-screen saver. The first position
// reported is only where the pointer happens to be; a jitter of a few pixels
// from there is not the user coming back.
#pragma once

constexpr int WakeDistance = 4; // pixels, in either direction

struct WakeDetector {
    bool hasOrigin;
    int originX;
    int originY;
};

inline WakeDetector FreshWakeDetector() { return WakeDetector{false, 0, 0}; }

// True when the pointer at (x, y) is more than WakeDistance from the first position seen.
bool MouseMoveWakes(WakeDetector& detector, int x, int y);
