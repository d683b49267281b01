#include <gtest/gtest.h>

#include "core/launch_config.h"
#include "memory_files.h"
#include "launcher/viewer.h"

namespace {

using vk::ViewerKind;
using vk::ViewerPlacement;

TEST(PlanWindowSize, ByIndexFromTheLaunchValue) {
    const vk::ScreenMetrics screen = {1024, 768, 1, 1};
    struct Case {
        const char* value; // the window-size value of the launch argument list
        ViewerPlacement placement;
        int x, y, width, height;
    } cases[] = {
        {"0", ViewerPlacement::Keep, 0, 0, 0, 0},          {"1", ViewerPlacement::Centred, 0, 0, 640, 480},
        {"2", ViewerPlacement::Centred, 0, 0, 800, 600},   {"3", ViewerPlacement::FullScreen, -2, -2, 1026, 770},
        {"7", ViewerPlacement::Keep, 0, 0, 0, 0},          {"-1", ViewerPlacement::Keep, 0, 0, 0, 0},
        {"abc", ViewerPlacement::Keep, 0, 0, 0, 0},        {"", ViewerPlacement::Keep, 0, 0, 0, 0},
        {" 2x", ViewerPlacement::Centred, 0, 0, 800, 600},
    };
    for (const Case& c : cases) {
        const vk::WindowPlan plan = vk::PlanWindowSize(vk::AtoiRule(c.value), screen, 96);
        EXPECT_EQ(plan.placement, c.placement) << c.value;
        if (plan.placement == ViewerPlacement::Keep)
            continue;
        EXPECT_EQ(plan.x, c.x) << c.value;
        EXPECT_EQ(plan.y, c.y) << c.value;
        EXPECT_EQ(plan.width, c.width) << c.value;
        EXPECT_EQ(plan.height, c.height) << c.value;
    }
}

TEST(PlanWindowSize, FullScreenEndsOnTheScreensEdgesWithAnyBorder) {
    for (vk::ScreenMetrics screen : {vk::ScreenMetrics{1280, 1024, 2, 3}, vk::ScreenMetrics{800, 600, 1, 1}}) {
        const vk::WindowPlan plan = vk::PlanWindowSize(3, screen, 144);
        EXPECT_EQ(plan.x, -(screen.cxBorder + 1));
        EXPECT_EQ(plan.y, -(screen.cyBorder + 1));
        EXPECT_EQ(plan.x + plan.width, screen.horzRes);
        EXPECT_EQ(plan.y + plan.height, screen.vertRes);
    }
}

// The named sizes are the user's at 100 %; full screen is the screen's, at any scale.
TEST(PlanWindowSize, NamedSizesGrowWithTheScreensDpi) {
    const vk::ScreenMetrics screen = {2048, 1536, 1, 1};
    struct Case {
        int index, dpi, width, height;
    } cases[] = {
        {1, 96, 640, 480},    {2, 96, 800, 600},   {1, 120, 800, 600},  {2, 120, 1000, 750},
        {1, 144, 960, 720},   {2, 144, 1200, 900}, {1, 192, 1280, 960}, {2, 192, 1600, 1200},
        {1, 168, 1120, 840},  {1, 0, 640, 480}, // 175 %; a dpi the system could not tell
        {3, 192, 2050, 1538},
    };
    for (const Case& c : cases) {
        const vk::WindowPlan plan = vk::PlanWindowSize(c.index, screen, c.dpi);
        EXPECT_EQ(plan.width, c.width) << c.index << " at " << c.dpi;
        EXPECT_EQ(plan.height, c.height) << c.index << " at " << c.dpi;
    }
}

TEST(ViewerKindOf, PageWhenHtmIsAnywhereInTheName) {
    struct Case {
        const char* file;
        std::optional<ViewerKind> kind;
    } cases[] = {
        {"index.htm", ViewerKind::Page},
        {"PAGE.HTML", ViewerKind::Page},
        {"intro.avi", ViewerKind::Movie},
        {"clip.WMV", ViewerKind::Movie},
        {"film.mpeg", ViewerKind::Movie},
        {"film.Mpg", ViewerKind::Movie},
        {"intro.avi.htm", ViewerKind::Page},
        {"notes.htm.avi", ViewerKind::Page},
        {"site.htm\\intro.avi", ViewerKind::Page},
        {"slides.ppt", std::nullopt},
        {"readme.txt", std::nullopt},
        {"avi", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::ViewerKindOf(c.file), c.kind) << c.file;
}

TEST(MinTrackSize, PageAndMovieAtEachScale) {
    struct Case {
        ViewerKind kind;
        int dpi;
        fw::Size track;
    } cases[] = {
        {ViewerKind::Page, 96, {450, 300}},  {ViewerKind::Movie, 96, {150, 150}},
        {ViewerKind::Page, 120, {563, 375}}, {ViewerKind::Movie, 120, {188, 188}}, // halves round up
        {ViewerKind::Page, 144, {675, 450}}, {ViewerKind::Movie, 144, {225, 225}},
        {ViewerKind::Page, 192, {900, 600}}, {ViewerKind::Movie, 192, {300, 300}},
    };
    for (const Case& c : cases) {
        const fw::Size track = vk::MinTrackSize(c.kind, c.dpi);
        EXPECT_EQ(track.cx, c.track.cx) << c.dpi;
        EXPECT_EQ(track.cy, c.track.cy) << c.dpi;
    }
}

TEST(MinTrackSize, ReplacesTheSystemsOnlyWhenBothAreSet) {
    struct Case {
        fw::Size minTrack;
        fw::Size expected;
    } cases[] = {
        {{450, 300}, {450, 300}}, {{150, 150}, {150, 150}}, {{0, 0}, {112, 27}},
        {{450, 0}, {112, 27}},    {{0, 300}, {112, 27}},
    };
    for (const Case& c : cases) {
        fw::Size system = {112, 27};
        vk::ApplyMinTrack(c.minTrack, system);
        EXPECT_EQ(system.cx, c.expected.cx) << c.minTrack.cx << "x" << c.minTrack.cy;
        EXPECT_EQ(system.cy, c.expected.cy) << c.minTrack.cx << "x" << c.minTrack.cy;
    }
}

TEST(InitialTitle, LabelThenMovieFileName) {
    struct Case {
        const char* name;
        ViewerKind kind;
        std::string path;
        const char* autorunInf; // null: no autorun.inf
        bool titled;
        std::string title;
    } cases[] = {
        {"movie by file name", ViewerKind::Movie, "D:\\intro.avi", nullptr, true, "intro.avi"},
        {"movie in a folder", ViewerKind::Movie, "C:\\discs\\one\\intro.avi",
         "[autorun]\r\nOPEN=autorun.exe intro.avi 1 1\r\n", true, "intro.avi"},
        {"label over movie name", ViewerKind::Movie, "D:\\intro.avi", "[autorun]\r\nLABEL=Product Disc\r\n", true,
         "Product Disc"},
        {"label of a page", ViewerKind::Page, "D:\\index.htm", "LABEL=Product Disc\r\n", true, "Product Disc"},
        {"lower-case label is no label", ViewerKind::Movie, "D:\\intro.avi", "label=Product Disc\r\n", true,
         "intro.avi"},
        {"lower-case label leaves a page untitled", ViewerKind::Page, "D:\\index.htm", "label=Product Disc\r\n", false,
         ""},
        {"label keeps its leading blank", ViewerKind::Page, "D:\\index.htm", "LABEL = Product Disc\r\n", true,
         " Product Disc"},
        {"page without label", ViewerKind::Page, "D:\\index.htm", "[autorun]\r\nICON=disc.ico\r\n", false, ""},
        {"backslash only in front", ViewerKind::Movie, "\\intro.avi", nullptr, false, ""},
        {"no backslash", ViewerKind::Movie, "intro.avi", nullptr, false, ""},
        {"path ending in a backslash", ViewerKind::Movie, "D:\\movies\\", nullptr, true, ""},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        if (c.autorunInf)
            files.files["autorun.inf"] = c.autorunInf;
        std::string label, title;
        const bool hasLabel = vk::ReadLabelEntry(files, label);
        EXPECT_EQ(vk::InitialTitle(c.kind, c.path, hasLabel, label, title), c.titled) << c.name;
        if (c.titled) {
            EXPECT_EQ(title, c.title) << c.name;
        }
    }
}

} // namespace
