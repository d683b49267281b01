#include <gtest/gtest.h>

#include <map>
#include <ostream>

#include "framework/anchor_layout.h"
#include "geometry_print.h"

namespace {

using fw::Rect;

// A dialog's controls by id; moves land in the map, as MoveWindow would move the window.
class FakeDialog : public fw::ChildRects {
public:
    std::map<int, Rect> controls;
    std::vector<int> moved;

    bool Get(int id, Rect& rect) override {
        auto it = controls.find(id);
        if (it == controls.end())
            return false;
        rect = it->second;
        return true;
    }
    void Set(int id, const Rect& rect) override {
        controls.at(id) = rect;
        moved.push_back(id);
    }
};

enum { kStretch = 1, kCorner = 2, kWideCorner = 3, kUnlisted = 4 };
const Rect kStretchStart = {0, 0, 300, 200};
const Rect kCornerStart = {250, 170, 290, 190};
const Rect kWideCornerStart = {10, 170, 100, 190};
const Rect kUnlistedStart = {5, 5, 50, 25};

struct Size {
    bool minimized;
    int width, height;
};

TEST(AnchorLayout, MovesAndStretchesByTheChangeOfSize) {
    struct Case {
        const char* name;
        std::vector<Size> sizes; // the first one is the window's creation
        Rect stretch, corner, wideCorner;
    } cases[] = {
        {"first size only sets the baseline", {{false, 300, 200}}, kStretchStart, kCornerStart, kWideCornerStart},
        {"grow right by 30",
         {{false, 300, 200}, {false, 330, 200}},
         {0, 0, 330, 200},
         {280, 170, 320, 190},
         {10, 170, 130, 190}},
        {"shrink back",
         {{false, 300, 200}, {false, 330, 200}, {false, 300, 200}},
         kStretchStart,
         kCornerStart,
         kWideCornerStart},
        {"grow in both directions in steps",
         {{false, 300, 200}, {false, 310, 205}, {false, 340, 260}},
         {0, 0, 340, 260},
         {290, 230, 330, 250},
         {10, 230, 140, 250}},
        {"minimise and restore",
         {{false, 300, 200}, {false, 320, 210}, {true, 0, 0}, {false, 320, 210}},
         {0, 0, 320, 210},
         {270, 180, 310, 200},
         {10, 180, 120, 200}},
        {"minimise, then restore to another size",
         {{false, 300, 200}, {true, 0, 0}, {false, 310, 200}},
         {0, 0, 310, 200},
         {260, 170, 300, 190},
         {10, 170, 110, 190}},
        {"maximise",
         {{false, 300, 200}, {false, 1018, 700}},
         {0, 0, 1018, 700},
         {968, 670, 1008, 690},
         {10, 670, 818, 690}},
        {"maximise and restore",
         {{false, 300, 200}, {false, 1018, 700}, {false, 300, 200}},
         kStretchStart,
         kCornerStart,
         kWideCornerStart},
        {"minimised before the first size",
         {{true, 0, 0}, {false, 300, 200}, {false, 300, 230}},
         {0, 0, 300, 230},
         {250, 200, 290, 220},
         {10, 200, 100, 220}},
    };
    for (const Case& c : cases) {
        FakeDialog dialog;
        dialog.controls = {{kStretch, kStretchStart},
                           {kCorner, kCornerStart},
                           {kWideCorner, kWideCornerStart},
                           {kUnlisted, kUnlistedStart}};
        fw::AnchorLayout layout;
        layout.Add(kStretch, fw::AnchorSizeX | fw::AnchorSizeY);
        layout.Add(kCorner, fw::AnchorMoveX | fw::AnchorMoveY);
        layout.Add(kWideCorner, fw::AnchorSizeX | fw::AnchorMoveX | fw::AnchorMoveY); // size wins over move
        for (const Size& s : c.sizes)
            layout.OnSize(s.minimized, s.width, s.height, dialog);
        EXPECT_EQ(dialog.controls[kStretch], c.stretch) << c.name;
        EXPECT_EQ(dialog.controls[kCorner], c.corner) << c.name;
        EXPECT_EQ(dialog.controls[kWideCorner], c.wideCorner) << c.name;
        EXPECT_EQ(dialog.controls[kUnlisted], kUnlistedStart) << c.name;
    }
}

// Moved to a screen of another scale, the window takes the size the system suggests; the
// controls keep their anchored edges against it.
TEST(AnchorLayout, DpiChangeScalesControlsAndBaseline) {
    const Rect kTwiceStart = {10, 10, 20, 20};
    struct Case {
        int oldDpi, newDpi;
        int width, height; // the client size the system suggests at the new scale
        Rect stretch, corner, twice;
    } cases[] = {
        {96, 144, 450, 300, {0, 0, 450, 300}, {375, 255, 435, 285}, {15, 15, 30, 30}},
        {96, 144, 452, 301, {0, 0, 452, 301}, {377, 256, 437, 286}, {19, 15, 34, 30}}, // the frame's rounding
        {144, 96, 200, 133, {0, 0, 200, 133}, {167, 113, 193, 127}, {7, 7, 13, 13}},
        {96, 120, 375, 250, {0, 0, 375, 250}, {313, 213, 363, 238}, {13, 13, 25, 25}},
        {120, 120, 300, 200, kStretchStart, kCornerStart, kTwiceStart},
    };
    for (const Case& c : cases) {
        FakeDialog dialog;
        dialog.controls = {{kStretch, kStretchStart}, {kCorner, kCornerStart}, {kUnlisted, kTwiceStart}};
        fw::AnchorLayout layout;
        layout.Add(kStretch, fw::AnchorSizeX | fw::AnchorSizeY);
        layout.Add(kCorner, fw::AnchorMoveX | fw::AnchorMoveY);
        layout.Add(kUnlisted, fw::AnchorMoveX); // listed twice: scaled once, moved twice
        layout.Add(kUnlisted, fw::AnchorMoveX);
        layout.OnSize(false, 300, 200, dialog);
        layout.OnDpiChanged(c.oldDpi, c.newDpi, dialog);
        layout.OnSize(false, c.width, c.height, dialog);
        EXPECT_EQ(dialog.controls[kStretch], c.stretch) << c.oldDpi << " to " << c.newDpi << ", " << c.width;
        EXPECT_EQ(dialog.controls[kCorner], c.corner) << c.oldDpi << " to " << c.newDpi << ", " << c.width;
        EXPECT_EQ(dialog.controls[kUnlisted], c.twice) << c.oldDpi << " to " << c.newDpi << ", " << c.width;
    }
}

TEST(AnchorLayout, EntriesHoldIdAndFlags) {
    fw::AnchorLayout layout;
    layout.Add(1085, fw::AnchorSizeX | fw::AnchorSizeY);
    layout.Add(1032, 0);                  // no flags: nothing
    layout.Add(1033, 0x10000);            // low 16 bits of the flags are 0: nothing
    layout.Add(0x12345, fw::AnchorMoveX); // the id keeps its low 16 bits
    layout.Add(1085, fw::AnchorSizeX);    // a control may be listed twice
    EXPECT_EQ(layout.Entries(), (std::vector<uint32_t>{0x000C043D, 0x00012345, 0x0004043D}));
}

TEST(AnchorLayout, MissingControlIsSkippedAndOthersStillMove) {
    FakeDialog dialog;
    dialog.controls = {{kStretch, kStretchStart}};
    fw::AnchorLayout layout;
    layout.Add(99, fw::AnchorSizeX);
    layout.Add(kStretch, fw::AnchorSizeX);
    layout.OnSize(false, 300, 200, dialog);
    layout.OnSize(false, 340, 200, dialog);
    EXPECT_EQ(dialog.moved, std::vector<int>{kStretch});
    EXPECT_EQ(dialog.controls[kStretch], (Rect{0, 0, 340, 200}));
}

TEST(AnchorLayout, TwiceListedControlMovesTwice) {
    FakeDialog dialog;
    dialog.controls = {{kCorner, kCornerStart}};
    fw::AnchorLayout layout;
    layout.Add(kCorner, fw::AnchorMoveX);
    layout.Add(kCorner, fw::AnchorMoveX);
    layout.OnSize(false, 300, 200, dialog);
    layout.OnSize(false, 310, 200, dialog);
    EXPECT_EQ(dialog.controls[kCorner], (Rect{270, 170, 310, 190}));
}

TEST(AnchorLayout, DestroyedWindowStartsAFreshBaseline) {
    FakeDialog dialog;
    dialog.controls = {{kStretch, kStretchStart}};
    fw::AnchorLayout layout;
    layout.Add(kStretch, fw::AnchorSizeX | fw::AnchorSizeY);
    layout.OnSize(false, 300, 200, dialog);
    EXPECT_TRUE(layout.HasBaseline());
    layout.Reset();
    EXPECT_FALSE(layout.HasBaseline());
    // The next window of the same object is created at another size: no move for that.
    layout.OnSize(false, 500, 400, dialog);
    EXPECT_TRUE(dialog.moved.empty());
    layout.OnSize(false, 510, 400, dialog);
    EXPECT_EQ(dialog.controls[kStretch], (Rect{0, 0, 310, 200}));
}

} // namespace
