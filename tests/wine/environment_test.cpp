// What the scenarios take for granted about the Wine prefix they run in: the shell starts a
// program by bare name from the working folder and through App Paths, and a wave file plays
// (into the null sound device) instead of failing for want of a sound card.
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "harness.h"

using namespace vt;

TEST(Shell, StartsProgramByBareNameFromWorkingFolder) {
    Sandbox box;
    box.CopyRecorder();
    // The opener sits beside the target: the search starts in the opener's own folder.
    Process opener(box.Copy(ShellOpenExe(), "shell_open.exe"), "recorder.exe", box.Dir());
    ASSERT_TRUE(WaitRecords(box.Path("recorded.txt"), 1, 10000));
    Record r = ReadRecords(box.Path("recorded.txt"))[0];
    EXPECT_EQ("recorder.exe", r.module);
    EXPECT_STRCASEEQ(box.Dir().c_str(), r.workDir.c_str());
    EXPECT_TRUE(opener.WaitExit(10000));
}

TEST(Shell, FindsProgramThroughAppPaths) {
    Sandbox box;
    // Outside the working folder and the PATH, so only the registration can lead to it.
    std::string standIn = box.CopyRecorder("office\\Powerpnt.exe");
    AppPath registration("Powerpnt.exe", standIn);
    ShellExecuteA(nullptr, nullptr, "Powerpnt.exe", "/s slides.ppt", box.Dir().c_str(), SW_SHOWNORMAL);
    ASSERT_TRUE(WaitRecords(box.Path("office\\recorded.txt"), 1, 10000));
    Record r = ReadRecords(box.Path("office\\recorded.txt"))[0];
    EXPECT_EQ("Powerpnt.exe", r.module);
    EXPECT_NE(std::string::npos, r.commandLine.find("/s slides.ppt")) << r.commandLine;
}

TEST(Sound, WaveFilePlaysToTheEnd) {
    Sandbox box;
    box.Write("tone.wav", MakeWav(1.0));
    std::string open = "open waveaudio!" + box.Path("tone.wav") + " alias envsound wait";
    ASSERT_EQ(0u, mciSendStringA(open.c_str(), nullptr, 0, nullptr));
    double start = Now();
    EXPECT_EQ(0u, mciSendStringA("play envsound from 0 wait", nullptr, 0, nullptr));
    printf("[observed] a 1.0 s tone played in %.2f s\n", Now() - start);
    mciSendStringA("close envsound wait", nullptr, 0, nullptr);
}
