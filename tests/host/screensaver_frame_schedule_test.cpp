// When the saver stops and restarts its frames: no frame while the display is
// off or the session disconnected; the preview is never stopped.
#include <gtest/gtest.h>

#include <vector>

#include "screensaver/frame_schedule.h"

namespace {

enum Source { Display, Session };

struct Notice {
    Source source;
    unsigned long value;
    FrameAction expected;
};

struct ScheduleCase {
    const char* label;
    bool preview;
    std::vector<Notice> notices;
    bool drawingAtEnd;
};

std::ostream& operator<<(std::ostream& out, const ScheduleCase& c) { return out << c.label; }

class ScreensaverFrameSchedule : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(ScreensaverFrameSchedule, StopsAndResumesOnlyOnARealChange) {
    FrameSchedule schedule = {GetParam().preview, false, false};
    EXPECT_TRUE(FramesWanted(schedule));
    for (std::size_t i = 0; i < GetParam().notices.size(); ++i) {
        const Notice& notice = GetParam().notices[i];
        const FrameAction action = notice.source == Display ? NoteDisplayState(schedule, notice.value)
                                                            : NoteSessionChange(schedule, notice.value);
        EXPECT_EQ(static_cast<int>(action), static_cast<int>(notice.expected)) << "notice " << i;
    }
    EXPECT_EQ(FramesWanted(schedule), GetParam().drawingAtEnd);
}

constexpr FrameAction Keep = FrameAction::Keep, Stop = FrameAction::Stop, Resume = FrameAction::Resume;

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreensaverFrameSchedule,
    ::testing::Values(
        ScheduleCase{"display on at registration", false, {{Display, DisplayOn, Keep}}, true},
        ScheduleCase{"display off stops", false, {{Display, DisplayOff, Stop}}, false},
        ScheduleCase{"off then on resumes", false, {{Display, DisplayOff, Stop}, {Display, DisplayOn, Resume}}, true},
        ScheduleCase{"off then dimmed resumes", false, {{Display, DisplayOff, Stop}, {Display, DisplayDimmed, Resume}}, true},
        ScheduleCase{"dimmed keeps drawing", false, {{Display, DisplayDimmed, Keep}, {Display, DisplayOn, Keep}}, true},
        ScheduleCase{"off twice stops once", false, {{Display, DisplayOff, Stop}, {Display, DisplayOff, Keep}}, false},
        ScheduleCase{"disconnected stops", false, {{Session, ConsoleDisconnect, Stop}, {Session, ConsoleConnect, Resume}}, true},
        ScheduleCase{"remote disconnect stops", false, {{Session, RemoteDisconnect, Stop}, {Session, RemoteConnect, Resume}}, true},
        ScheduleCase{"display on while disconnected stays stopped", false,
                     {{Session, ConsoleDisconnect, Stop}, {Display, DisplayOff, Keep}, {Display, DisplayOn, Keep},
                      {Session, ConsoleConnect, Resume}},
                     true},
        ScheduleCase{"reconnected while the display is off stays stopped", false,
                     {{Display, DisplayOff, Stop}, {Session, RemoteDisconnect, Keep}, {Session, RemoteConnect, Keep}},
                     false},
        ScheduleCase{"other session changes (a lock) change nothing", false, {{Session, 7, Keep}}, true},
        ScheduleCase{"preview never stops", true,
                     {{Display, DisplayOff, Keep}, {Session, ConsoleDisconnect, Keep}, {Display, DisplayOn, Keep}},
                     true}),
    [](const auto& info) { return std::to_string(info.index); });

} // namespace
