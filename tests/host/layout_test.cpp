// The main window's buttons, its size and place on the screen, and the banner painted above the buttons.
#include "app/app_state.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "tests/fake/fake_platform.h"
#include "tests/host/scenario.h"
#include "ui/layout.h"
#include "ui/resource_dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using fake::world;

class LayoutTest : public Scenario {
  protected:
    // Each button text measures as given, but only in the default GUI font.
    void MeasureButtonTextsAs(const SIZE (&extents)[3]) {
        const std::string texts[3] = {world.state.strings.at(IDS_INSTALL_BUTTON),
                                      world.state.strings.at(IDS_UNINSTALL_BUTTON),
                                      world.state.strings.at(IDS_EXIT_BUTTON)};
        world.knobs.measure = [texts, extents](HGDIOBJ font, const std::string& text) {
            const auto found = std::find(texts, texts + 3, text);
            if (font != fake::DefaultGuiFont || found == texts + 3) return SIZE{500, 100};
            return extents[found - texts];
        };
    }
    const fake::WindowRecord& Main() { return *fake::Window(mainWindow); }
};

struct ButtonCase {
    const char* label;
    SIZE extent;
    LONG width, height;
};

class ButtonMinimaTest : public LayoutTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonMinimaTest, SizeIsTheTextsPlusMarginsAtLeast57By25) {
    StartProgram();
    world.knobs.measure = [extent = GetParam().extent](HGDIOBJ font, const std::string&) {
        return font == fake::DefaultGuiFont ? extent : SIZE{500, 100};
    };
    world.record.measured.clear();
    ButtonSpec spec = {"button", "", 10, 184, 0, 0};
    const std::string longest(49, 'W'); // the whole 50-character buffer
    longest.copy(spec.Text, sizeof spec.Text - 1);
    MeasureButton(mainWindow, spec);
    EXPECT_EQ(GetParam().width, spec.Width);
    EXPECT_EQ(GetParam().height, spec.Height);
    EXPECT_EQ(std::vector<std::string>{longest}, world.record.measured);
    EXPECT_EQ(0, world.record.releasedWithFontSelected) << "the previous font is selected back";
}

INSTANTIATE_TEST_SUITE_P(Extents, ButtonMinimaTest,
                         ::testing::Values(ButtonCase{"Nothing", {0, 0}, 57, 25},
                                           ButtonCase{"Narrower", {36, 14}, 57, 25},
                                           ButtonCase{"JustAtMinimum", {37, 15}, 57, 25},
                                           ButtonCase{"JustAbove", {38, 16}, 58, 26},
                                           ButtonCase{"WideGuiFontLine", {200, 13}, 220, 25}),
                         [](const auto& info) { return std::string(info.param.label); });

struct LayoutCase {
    const char* label;
    SIZE extents[3]; // Install, Uninstall, Exit
    std::map<int, int> metrics;
    LONG x[3], width[3], height[3];
    int windowWidth, windowHeight;
};

class ButtonRowTest : public LayoutTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ButtonRowTest, ButtonsAreSpacedAndSizeTheCentredWindow) {
    const LayoutCase& row = GetParam();
    for (const auto& metric : row.metrics) world.knobs.metrics[metric.first] = metric.second;
    MeasureButtonTextsAs(row.extents);
    StartProgram();

    const auto buttons = fake::ChildrenOf(mainWindow);
    ASSERT_EQ(3u, buttons.size());
    const UINT textIds[3] = {IDS_INSTALL_BUTTON, IDS_UNINSTALL_BUTTON, IDS_EXIT_BUTTON};
    const INT_PTR commandIds[3] = {BtnInstall, BtnUninstall, BtnExit};
    for (size_t i = 0; i < 3; ++i) {
        const fake::WindowRecord& button = *buttons[i];
        EXPECT_EQ("button", button.className) << i;
        EXPECT_EQ(world.state.strings.at(textIds[i]), button.text) << i;
        EXPECT_EQ(commandIds[i], button.id) << i;
        EXPECT_EQ(DWORD(WS_CHILD | WS_VISIBLE), button.style) << i;
        EXPECT_EQ(0u, button.exStyle) << i;
        EXPECT_EQ(fake::DefaultGuiFont, button.font) << i;
        EXPECT_EQ(row.x[i], button.x) << i;
        EXPECT_EQ(184, button.y) << i;
        EXPECT_EQ(row.width[i], button.width) << i;
        EXPECT_EQ(row.height[i], button.height) << i;
    }
    EXPECT_EQ(row.windowWidth, Main().width);
    EXPECT_EQ(row.windowHeight, Main().height);
    EXPECT_EQ((1024 - row.windowWidth) / 2, Main().x);
    EXPECT_EQ((768 - row.windowHeight) / 2, Main().y);
    EXPECT_EQ(0, world.record.releasedWithFontSelected);
}

// Gaps of 10 and 20; width = frame + right edge of Exit + 10; height = caption + menu + frame + bottom of
// Exit + 10, with distinct metrics so that a second frame or another button's height would show.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ButtonRowTest, ::testing::Values(
    LayoutCase{"GuiFontUnderXvfb", {{120, 13}, {132, 13}, {24, 13}}, {},
               {10, 160, 332}, {140, 152, 57}, {25, 25, 25}, 4 + 332 + 57 + 10, 19 + 19 + 4 + 184 + 25 + 10},
    LayoutCase{"OneFrameMetricEachAndExitsHeight", {{100, 30}, {10, 40}, {200, 20}},
               {{SM_CXFRAME, 7}, {SM_CYFRAME, 5}, {SM_CYCAPTION, 23}, {SM_CYMENU, 17}, {SM_CXFIXEDFRAME, 2},
                {SM_CYFIXEDFRAME, 1}, {SM_CXBORDER, 11}, {SM_CYBORDER, 13}},
               {10, 140, 217}, {120, 57, 220}, {40, 50, 30}, 7 + 217 + 220 + 10, 23 + 17 + 5 + 184 + 30 + 10},
    LayoutCase{"AllAtMinimum", {{0, 0}, {0, 0}, {0, 0}}, {},
               {10, 77, 154}, {57, 57, 57}, {25, 25, 25}, 4 + 154 + 57 + 10, 19 + 19 + 4 + 184 + 25 + 10}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

struct CentringCase {
    const char* label;
    int screenWidth, screenHeight, width, height;
    int x, y, movedWidth, movedHeight;
};

class CentringTest : public LayoutTest, public ::testing::WithParamInterface<CentringCase> {};

TEST_P(CentringTest, DividesSignedTowardZeroAndZeroMeansTheScreen) {
    const CentringCase& row = GetParam();
    StartProgram();
    world.knobs.screenWidth = row.screenWidth;
    world.knobs.screenHeight = row.screenHeight;
    CenterWindowOnScreen(mainWindow, row.width, row.height);
    EXPECT_EQ(row.x, Main().x);
    EXPECT_EQ(row.y, Main().y);
    EXPECT_EQ(row.movedWidth, Main().width);
    EXPECT_EQ(row.movedHeight, Main().height);
    EXPECT_EQ(TRUE, Main().moveRepaint);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CentringTest,
                         ::testing::Values(CentringCase{"OddDifference", 1024, 768, 403, 261, 310, 253, 403, 261},
                                           CentringCase{"FillsTheScreen", 1024, 768, 1024, 768, 0, 0, 1024, 768},
                                           CentringCase{"OneTooWide", 1024, 768, 1025, 769, 0, 0, 1025, 769},
                                           CentringCase{"ThreeTooWide", 1024, 768, 1027, 771, -1, -1, 1027, 771},
                                           CentringCase{"FarTooLarge", 640, 480, 1000, 505, -180, -12, 1000, 505},
                                           CentringCase{"ZeroWidth", 1024, 768, 0, 261, 0, 253, 1024, 261},
                                           CentringCase{"ZeroHeight", 1024, 768, 403, 0, 310, 0, 403, 768},
                                           CentringCase{"ZeroBoth", 800, 600, 0, 0, 0, 0, 800, 600}),
                         [](const auto& info) { return std::string(info.param.label); });

struct BannerPlaceCase {
    const char* label;
    LONG clientRight, x;
};

class BannerPlaceTest : public LayoutTest, public ::testing::WithParamInterface<BannerPlaceCase> {};

TEST_P(BannerPlaceTest, DrawsAtRow11CentredOneToOneThroughThePalette) {
    StartProgram();
    ASSERT_NE(nullptr, banner.Header);
    world.record.drawings.clear();
    world.knobs.clientOverride = RECT{0, 0, GetParam().clientRight, 300};
    PaintBanner(mainWindow);
    ASSERT_EQ(1u, world.record.drawings.size());
    const fake::StretchRecord& drawn = world.record.drawings[0];
    EXPECT_EQ(GetParam().x, drawn.destX);
    EXPECT_EQ(11, drawn.destY);
    EXPECT_EQ(
        (std::vector<int>{325, 165, 0, 0, 325, 165}),
        (std::vector<int>{drawn.destWidth, drawn.destHeight, drawn.srcX, drawn.srcY, drawn.srcWidth, drawn.srcHeight}));
    EXPECT_EQ(banner.Bits(), drawn.bits);
    EXPECT_EQ(reinterpret_cast<const BITMAPINFO*>(banner.Header), drawn.info);
    EXPECT_EQ(UINT(DIB_RGB_COLORS), drawn.usage);
    EXPECT_EQ(DWORD(SRCCOPY), drawn.rop);
    EXPECT_NE(nullptr, drawn.palette);
    EXPECT_EQ(banner.Palette, drawn.palette);
    EXPECT_LT(0, world.record.realized);
}

INSTANTIATE_TEST_SUITE_P(ClientWidths, BannerPlaceTest,
                         ::testing::Values(BannerPlaceCase{"ShippedWindow", 397, 36}, BannerPlaceCase{"Wider", 345, 10},
                                           BannerPlaceCase{"Exact", 325, 0}, BannerPlaceCase{"OneNarrower", 324, 0},
                                           BannerPlaceCase{"ThreeNarrower", 322, -1},
                                           BannerPlaceCase{"FiveNarrower", 320, -2},
                                           BannerPlaceCase{"NoClientArea", 0, -162}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(LayoutTest, WithoutAPaletteTheBannerIsDrawnAllTheSame) {
    world.knobs.failing = {"CreatePalette"};
    StartProgram();
    ASSERT_EQ(1u, world.record.drawings.size());
    EXPECT_EQ(nullptr, world.record.drawings[0].palette);
    EXPECT_EQ(banner.Bits(), world.record.drawings[0].bits);
}

TEST_F(LayoutTest, BannerThatCannotBeLoadedIsReportedBeforeTheWindowShowsAndNeverPainted) {
    for (const char* label : {"missing", "cut short"}) {
        SetUp();
        if (std::string(label) == "missing")
            world.knobs.failing = {"FindResourceA"};
        else
            fake::AddResource(BannerName, RT_BITMAP, [] {
                fake::Bytes cut = ShippedBanner();
                cut.pop_back();
                return cut;
            }());
        StartProgram();
        ASSERT_EQ(1u, world.record.boxes.size()) << label;
        EXPECT_EQ(Box(IDS_BANNER_NOT_FOUND, IDS_RESOURCE_ERROR_CAPTION, 0x30), world.record.boxes[0]) << label;
        const auto box =
            std::find(world.record.log.begin(), world.record.log.end(), "MessageBoxA " + world.record.boxes[0].text);
        const auto shown = std::find(world.record.log.begin(), world.record.log.end(), "ShowWindow 10");
        EXPECT_LT(box, shown) << label;
        EXPECT_EQ(3u, fake::ChildrenOf(mainWindow).size()) << label;

        MainWindowProc(mainWindow, WM_PAINT, 0, 0);
        EXPECT_EQ(2, world.record.calls["BeginPaint"]) << label;
        EXPECT_EQ(2, world.record.calls["EndPaint"]) << label;
        EXPECT_TRUE(world.record.drawings.empty()) << label;
        EXPECT_EQ(0, world.record.calls["SelectPalette"] + world.record.calls["RealizePalette"]) << label;
    }
}

} // namespace
