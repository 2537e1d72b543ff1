#include "tests/host/scenario.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "install/locations.h"
#include "install/payload.h"
#include "install/payload_check.h"
#include "ui/layout.h"
#include "ui/resource_dib.h"

#include <memory>

namespace fake {

bool operator==(const MessageBoxRecord& a, const MessageBoxRecord& b) {
    return a.owner == b.owner && a.text == b.text && a.caption == b.caption && a.type == b.type;
}

void PrintTo(const MessageBoxRecord& box, std::ostream* out) {
    *out << "{\"" << box.caption << "\": \"" << box.text.substr(0, 60) << (box.text.size() > 60 ? "...\"" : "\"")
         << ", type 0x" << std::hex << box.type << std::dec << (box.owner ? ", owned" : "") << "}";
}

} // namespace fake

namespace {
// The banner outlives every test, as it outlives the program; its blocks go with the world.
void ForgetBanner() {
    banner.Header = nullptr;
    banner.Memory = nullptr;
    banner.Palette = nullptr;
}
} // namespace

void Scenario::SetUp() {
    ForgetBanner();
    fake::Reset();
    app = {};
    locations = {};
    names = {};
    fake::AddResource(BannerName, RT_BITMAP, ShippedBanner());
    fake::AddResource(PayloadName, PayloadType, ShippedPayload());
    fake::AddResource(PayloadCheckName, PayloadType, fake::ReadHostFile(QUORVANE_PAYLOAD_CHECK));
}

void Scenario::TearDown() {
    EXPECT_EQ(0, fake::world.state.openDCs) << "device contexts not released";
    EXPECT_EQ(0, fake::world.state.openPaints) << "BeginPaint without EndPaint";
    ForgetBanner();
}

void Scenario::ResetWorldKeepingWindow() {
    fake::world.record = {};
    fake::world.knobs.failing.clear();
    fake::world.knobs.failOnCall.clear();
    fake::world.knobs.answers.clear();
    fake::world.state.quitPosted = false;
}

void Scenario::StartProgram() {
    ASSERT_TRUE(RegisterMainClass(fake::Instance));
    ASSERT_TRUE(CreateMainWindow(fake::Instance, SW_SHOWDEFAULT));
    auto windows = fake::WindowsOfClass("ProgramInstaller");
    ASSERT_EQ(1u, windows.size());
    mainWindow = windows[0]->handle;
}

void Scenario::PostToMainWindowOnceCreated(UINT message, WPARAM wordParam, LPARAM longParam) {
    fake::world.knobs.onTopLevelCreated = [=](HWND window) {
        if (fake::Window(window)->className == "ProgramInstaller") {
            mainWindow = window;
            fake::PostMessage(window, message, wordParam, longParam);
        }
    };
}

void DuringBox(UINT textId, std::function<void()> command) {
    auto pending = std::make_shared<std::function<void()>>(std::move(command));
    fake::world.knobs.onMessageBox = [textId, pending](const fake::MessageBoxRecord& box) {
        // The nested command's boxes move the record this one refers to.
        const UINT type = box.type;
        if (*pending && box.text == fake::world.state.strings.at(textId)) {
            const std::function<void()> nested = std::move(*pending);
            *pending = nullptr;
            nested();
        }
        return fake::ScriptedAnswer(type);
    };
}

fake::MessageBoxRecord Scenario::Box(UINT textId, UINT captionId, UINT type) {
    return {nullptr, fake::world.state.strings.at(textId), fake::world.state.strings.at(captionId), type};
}

fake::Bytes Scenario::ShippedBanner() {
    // The resource compiler drops the file header of a BITMAP resource.
    static const fake::Bytes file = fake::ReadHostFile(QUORVANE_SOURCE_DIR "/resources/banner.bmp");
    return fake::Bytes(file.begin() + sizeof(BITMAPFILEHEADER), file.end());
}

fake::Bytes Scenario::ShippedPayload() {
    static const fake::Bytes payload = fake::ReadHostFile(QUORVANE_PAYLOAD_FILE);
    return payload;
}

fake::Bytes Scenario::PayloadProgram() {
    static const fake::Bytes program = fake::ReadHostFile(QUORVANE_PAYLOAD_PROGRAM);
    return program;
}
