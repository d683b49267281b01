// The copy action's wait window seen from outside while a pair of long paths is copied. The
// source is not on the disc, so the copy fails, and while its error message waits for an
// answer the wait window shows the pair: both ends of each path, each line within the text
// area as the window's font (MS Sans Serif 8 at the screen's resolution) draws it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/wait_ids.h"
#include "harness.h"

namespace vt {

inline int TextWidthInDialogFont(const std::string& text) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, 0, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    const std::wstring wide = Wide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

inline void ExpectLongCopyShownWhole(const std::string& shot) {
    Sandbox box;
    box.CopyVintrosk("autorun.exe");
    box.Write("page.htm", "<html><body>menu</body></html>");
    box.Write("Desktop\\keep.txt", "");
    UserShellFolder desktop("Desktop", box.Path("Desktop"));
    const std::string source = "disc_materials\\installation_guides\\english\\version_7\\guide_for_version_7.txt";
    const std::string destination = "{desktop}\\Vintrosk_Demo_Disc_Files\\installation_guides\\english\\guide_copy.txt";
    Process launcher(box.Path("autorun.exe"), "page.htm?ACTION_COPY=" + source + "," + destination + " 1 0", box.Dir());
    HWND error = WaitMessageBox(launcher, 15000);
    ASSERT_TRUE(error) << DescribeWindows(launcher);
    HWND wait = FindWindowOf(launcher, "Please wait ..", "#32770");
    ASSERT_TRUE(wait) << DescribeWindows(launcher);
    const std::string text = ItemText(wait, IDC_WAIT_TEXT);
    const size_t newline = text.find('\n');
    ASSERT_NE(newline, std::string::npos) << text;
    const std::string from = text.substr(0, newline), to = text.substr(newline + 1);
    auto starts = [](const std::string& s, const std::string& with) { return s.compare(0, with.size(), with) == 0; };
    auto ends = [](const std::string& s, const std::string& with) {
        return s.size() >= with.size() && s.compare(s.size() - with.size(), with.size(), with) == 0;
    };
    EXPECT_TRUE(starts(from, "disc_materials\\") && ends(from, "\\guide_for_version_7.txt ->")) << from;
    EXPECT_NE(from.find("..."), std::string::npos) << from;
    EXPECT_TRUE(starts(to, box.Path("Desktop").substr(0, 10)) && ends(to, "\\guide_copy.txt")) << to;
    EXPECT_NE(to.find("..."), std::string::npos) << to;
    RECT area{};
    GetClientRect(GetDlgItem(wait, IDC_WAIT_TEXT), &area);
    for (const std::string& line : {from, to})
        EXPECT_LE(TextWidthInDialogFont(line), area.right) << line;
    printf("[observed] wait text %ld px wide:\n%s\n", area.right, text.c_str());
    // The error sits over the wait window, both centred: moved aside, both show.
    SetWindowPos(error, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Screenshot(shot);
    Press(error, IDOK);
    ASSERT_TRUE(WaitGone(error, 15000));
    HWND viewer = WaitWindow(launcher, nullptr, "#32770", 15000);
    ASSERT_TRUE(viewer) << DescribeWindows(launcher);
    Press(viewer, IDCANCEL);
    EXPECT_TRUE(launcher.WaitExit(15000));
}

} // namespace vt
