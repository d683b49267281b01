// The sample disc that the designer's defaults point to: its pages scan with nothing
// missing, and they show what the viewer can do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "scanner_posix_disk.h"

namespace {

namespace fs = std::filesystem;

const std::string kSamples = VK_SAMPLES_DIR;

std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(ScannerSamples, TheDemoPageBringsEveryFileOfItsFolderAndNothingIsMissing) {
    char pattern[] = "/tmp/vk-samples-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    const fs::path out = pattern;
    // The builder copies the target before the scan.
    fs::copy_file(kSamples + "/html/1_Demo_General_Menu.html", out / "1_Demo_General_Menu.html");

    PosixDisk disk(kSamples);
    vk::MissingFileList missing;
    vk::LinkScanner(disk, disk.ansi, disk, missing).Scan("html\\1_Demo_General_Menu.html", out.string() + "\\", true);

    EXPECT_TRUE(missing.Empty()) << vk::MissingEntryText(missing.Items().front());
    EXPECT_TRUE(disk.shownMissing.empty());
    EXPECT_EQ(NamesIn(kSamples + "/html"), NamesIn(out));
    EXPECT_EQ(3u, disk.pages);
    fs::remove_all(out);
}

TEST(ScannerSamples, PagesAskForTheCurrentRenderingModeAndShowEachAction) {
    std::string all;
    for (const auto& entry : fs::directory_iterator(kSamples + "/html")) {
        if (entry.path().extension() != ".html")
            continue;
        const std::string page = ReadAll(entry.path());
        EXPECT_NE(std::string::npos, page.find("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"))
            << entry.path();
        all += page;
    }
    for (const char* feature : {"\"ACTION_MESSAGEBOX=", "\"ACTION_QUIT\"", "\"ACTION_RUN=", "\"ACTION_BROWSE\"",
                                "\"ACTION_COPY=", "{desktop}\\", ".avi\""})
        EXPECT_NE(std::string::npos, all.find(feature)) << feature;
}

} // namespace
