// Milliseconds between the saver's frames: about 30 frames a second, smooth
// and little CPU. The benchmark's floor and its report take it from here.
#pragma once

constexpr unsigned FrameIntervalMs = 30;
