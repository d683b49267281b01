#include <gtest/gtest.h>

#include "designer/designer_options.h"

namespace {

TEST(FilePickers, FilterBecomesNulSeparatedPairs) {
    using namespace std::string_literals;
    EXPECT_EQ(vk::DialogFilter(vk::OptionOfSelectButton(1020)->file->picker.filter), "Wav (*.wav)\0*.wav\0\0\0\0"s);
    // Every picker's filter has whole description/pattern pairs.
    for (int button : {1000, 1016, 1020, 1022}) {
        const std::string filter = vk::DialogFilter(vk::OptionOfSelectButton(button)->file->picker.filter);
        size_t parts = 0;
        for (size_t start = 0; start < filter.size() && filter[start]; start = filter.find('\0', start) + 1)
            ++parts;
        EXPECT_EQ(parts % 2, 0u) << button;
        EXPECT_EQ(filter.substr(filter.size() - 2), "\0\0"s) << button;
    }
    EXPECT_EQ(vk::DialogFilter("Text|*.txt"), "Text\0*.txt\0\0"s);
    EXPECT_EQ(vk::OptionOfSelectButton(1005), nullptr);
}

TEST(FilePickers, DefaultExtensionWithoutItsDot) {
    EXPECT_EQ(vk::DialogDefaultExtension(".ico"), "ico");
    EXPECT_EQ(vk::DialogDefaultExtension(".*"), "");
    EXPECT_EQ(vk::DialogDefaultExtension(""), "");
    EXPECT_EQ(vk::DialogDefaultExtension(nullptr), "");
}

TEST(FilePickers, OnlySelectFileUnderscoresTheShownName) {
    struct Case {
        int button;
        std::string chosen;
        std::string name;
    } cases[] = {
        {1000, "C:\\discs\\html\\Intro Page.htm", "Intro_Page.htm"},
        {1016, "C:\\discs\\splashscreens\\my logo.jpg", "my logo.jpg"},
        {1020, "C:\\discs\\sounds\\intro music.wav", "intro music.wav"},
        {1022, "C:/discs/icons/my disc.ico", "my disc.ico"},
        {1000, "plain.htm", "plain.htm"},
    };
    for (const Case& c : cases) {
        vk::PickedFile picked = vk::ApplyPick(vk::OptionOfSelectButton(c.button)->file->picker, c.chosen);
        EXPECT_EQ(picked.path, c.chosen);
        EXPECT_EQ(picked.name, c.name);
    }
}

// A file added to the disc's files without its controls, or controls pointing at no file of
// the disc, would leave a setting the designer cannot show or a row the build never copies.
TEST(DesignerRules, EveryFileOfTheDiscHasItsControls) {
    const std::vector<vk::DiscFile>& files = vk::DiscFiles();
    std::vector<const vk::DiscFile*> shown;
    for (const vk::DesignerOption& option : vk::DesignerOptions()) {
        if (!option.file) {
            EXPECT_NE(option.on, nullptr) << "an option without a file has a check box";
            continue;
        }
        EXPECT_TRUE(option.file >= &files.front() && option.file <= &files.back());
        EXPECT_NE(option.selectButton, 0) << option.file->role;
        EXPECT_NE(option.nameControl, 0) << option.file->role;
        EXPECT_EQ(option.checkBox != 0, option.file->on != nullptr) << option.file->role;
        shown.push_back(option.file);
    }
    ASSERT_EQ(shown.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(shown[i], &files[i]) << "in the disc's order";
}

TEST(DesignerRules, AboutCommandIgnoresTheLowBits) {
    EXPECT_TRUE(vk::IsAboutCommand(0x10));
    EXPECT_TRUE(vk::IsAboutCommand(0x1F));
    EXPECT_FALSE(vk::IsAboutCommand(0x20));
    EXPECT_FALSE(vk::IsAboutCommand(0xF060)); // SC_CLOSE
    EXPECT_FALSE(vk::IsAboutCommand(0xF012)); // a move by the caption
}

TEST(DesignerRules, MinimisedIconIsCentred) {
    EXPECT_EQ(vk::CentredIconEdge(32, 32), 0);
    EXPECT_EQ(vk::CentredIconEdge(100, 32), 34);
    EXPECT_EQ(vk::CentredIconEdge(101, 32), 35);
    EXPECT_EQ(vk::CentredIconEdge(20, 32), -5);
}

} // namespace
