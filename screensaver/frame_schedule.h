// Whether the saver draws frames: not while nobody can see them, that is while
// the display is off or the session is disconnected. The preview always draws.
#pragma once

// What the display-state notification reports.
enum DisplayState { DisplayOff = 0, DisplayOn = 1, DisplayDimmed = 2 };

// The session-change notifications that matter here (their Windows values).
enum SessionChange { ConsoleConnect = 1, ConsoleDisconnect = 2, RemoteConnect = 3, RemoteDisconnect = 4 };

struct FrameSchedule {
    bool preview;
    bool displayOff;
    bool disconnected;
};

// What the window does about a notification: stop its frame timer, or draw the
// scene at once and start the timer again.
enum class FrameAction { Keep, Stop, Resume };

bool FramesWanted(const FrameSchedule& schedule);
FrameAction NoteDisplayState(FrameSchedule& schedule, unsigned long state);
FrameAction NoteSessionChange(FrameSchedule& schedule, unsigned long change);
