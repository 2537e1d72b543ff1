#include "screensaver/frame_schedule.h"

namespace {

FrameAction Between(bool before, const FrameSchedule& after) {
    const bool now = FramesWanted(after);
    return before == now ? FrameAction::Keep : (now ? FrameAction::Resume : FrameAction::Stop);
}

} // namespace

bool FramesWanted(const FrameSchedule& schedule) {
    return schedule.preview || (!schedule.displayOff && !schedule.disconnected);
}

// Dimmed is still seen; a state this code does not know is taken as seen.
FrameAction NoteDisplayState(FrameSchedule& schedule, unsigned long state) {
    const bool before = FramesWanted(schedule);
    schedule.displayOff = state == DisplayOff;
    return Between(before, schedule);
}

FrameAction NoteSessionChange(FrameSchedule& schedule, unsigned long change) {
    const bool before = FramesWanted(schedule);
    if (change == ConsoleDisconnect || change == RemoteDisconnect) schedule.disconnected = true;
    if (change == ConsoleConnect || change == RemoteConnect) schedule.disconnected = false;
    return Between(before, schedule);
}
