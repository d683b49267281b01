// Launcher overhead: how long the launcher takes to hand a plain target (no splash, no
// sound) to the shell, against a program that does nothing but that call. Both start the
// recorder, which notes when it began; the time from our CreateProcess to that moment, and
// to the opener's end, are taken over interleaved runs. Prints their minimum, median and
// maximum and the ratio of the medians, and asserts only that every run handed the target over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "harness.h"

using namespace vt;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// "min / median / max" in milliseconds: one slow run under a busy Wine shows in the maximum
// and leaves the median alone.
std::string Spread(const std::vector<double>& v) {
    const auto [low, high] = std::minmax_element(v.begin(), v.end());
    char text[64];
    snprintf(text, sizeof text, "%.1f / %.1f / %.1f", 1000 * *low, 1000 * Median(v), 1000 * *high);
    return text;
}

} // namespace

TEST(Overhead, LauncherAgainstBareShellCall) {
    Sandbox box;
    box.CopyRecorder();
    const std::string record = box.Path("recorded.txt");
    const struct {
        const char* name;
        std::string exe;
        const char* args;
    } openers[] = {
        {"bare COM+ShellExecuteA", box.Copy(ShellOpenExe(), "shell_open.exe"), "recorder.exe"},
        {"launcher", box.CopyVintrosk("autorun.exe"), "recorder.exe 0 0"},
    };
    const int kRuns = 15; // after one warm-up run each
    std::vector<double> handover[2], lifetime[2];
    for (int run = -1; run < kRuns; ++run) {
        for (int i = 0; i < 2; ++i) {
            const int which = (run + i) % 2 == 0 ? 0 : 1; // alternate who goes first
            const size_t before = ReadRecords(record).size();
            Process p(openers[which].exe, openers[which].args, box.Dir());
            ASSERT_TRUE(p.WaitExit(15000)) << openers[which].name;
            ASSERT_TRUE(WaitRecords(record, before + 1, 15000)) << openers[which].name;
            if (run < 0)
                continue;
            handover[which].push_back(ReadRecords(record)[before].startedAt - p.StartedAt());
            lifetime[which].push_back(p.Lifetime());
        }
    }
    printf("[overhead] ms, min / median / max of %d runs each\n", kRuns);
    for (int which = 0; which < 2; ++which)
        printf("[overhead] %-23s target started after %s, opener ended after %s\n", openers[which].name,
               Spread(handover[which]).c_str(), Spread(lifetime[which]).c_str());
    const double ratio = Median(handover[1]) / Median(handover[0]);
    printf("[overhead] launcher / bare: %.2f to the target's start, %.2f to the opener's end\n", ratio,
           Median(lifetime[1]) / Median(lifetime[0]));
    RecordProperty("handover_ratio", std::to_string(ratio));
}
