#include "disc/folder_image.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : "<missing>";
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

class Progress : public vk::ImageProgress {
public:
    bool Advance(unsigned long long done, unsigned long long total) override {
        last = done;
        this->total = total;
        return done < stopAt;
    }
    unsigned long long last = 0, total = 0;
    unsigned long long stopAt = ~0ULL; // false from this many bytes on
};

// A folder of its own under the system's temporary folder, removed afterwards.
class FolderImagePosix : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vk-folder-image-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
        src = dir + "/disc";
        ASSERT_EQ(mkdir(src.c_str(), 0755), 0);
        ASSERT_EQ(mkdir((src + "/sub").c_str(), 0755), 0);
        std::ofstream(src + "/autorun.inf") << "[autorun]\r\n";
        std::ofstream(src + "/sub/page.html") << "<html></html>";
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string dir, src;
};

TEST_F(FolderImagePosix, WritesTheImageWithProgress) {
    Progress progress;
    std::string error;
    ASSERT_TRUE(vk::WriteFolderImage(src, dir + "/disc.iso", "DISC", &progress, error)) << error;
    EXPECT_EQ(progress.total, 11u + 13u);
    EXPECT_EQ(progress.last, progress.total);
    EXPECT_EQ(ReadAll(dir + "/disc.iso").size() % 2048, 0u);
    EXPECT_FALSE(Exists(dir + "/disc.iso.part"));
}

// Each failure names the file; an earlier image stays as it was and nothing partial is left.
TEST_F(FolderImagePosix, FailuresKeepTheEarlierImage) {
    const std::string image = dir + "/disc.iso";
    std::string error;
    ASSERT_TRUE(vk::WriteFolderImage(src, image, "DISC", nullptr, error)) << error;
    const std::string earlier = ReadAll(image);

    const struct {
        const char* what;
        std::string arrange; // a shell command run in the disc folder
        std::string message; // how the message begins
    } cases[] = {
        {"unreadable", "ln -s nowhere sub/dangling", src + "/sub/dangling: "},
        {"too long", "touch " + std::string(255, 'n'), src + "/" + std::string(255, 'n') + ": the name is longer"},
        {"character", "mkdir -p 2 && touch '2/a?b'", src + "/2/a?b: the name holds a character"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(std::system(("cd '" + src + "' && " + c.arrange).c_str()), 0) << c.what;
        EXPECT_FALSE(vk::WriteFolderImage(src, image, "DISC", nullptr, error)) << c.what;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << c.what << ": " << error;
        EXPECT_TRUE(ReadAll(image) == earlier) << c.what;
        EXPECT_FALSE(Exists(image + ".part")) << c.what;
        std::system(("cd '" + src + "' && rm -rf sub/dangling nnnn* 2").c_str());
    }
    // Stopped by its progress, after any byte or at the very end.
    for (unsigned long long stopAt : {1ULL, 24ULL}) {
        Progress stopping;
        stopping.stopAt = stopAt;
        EXPECT_FALSE(vk::WriteFolderImage(src, image, "DISC", &stopping, error)) << stopAt;
        EXPECT_TRUE(ReadAll(image) == earlier) << stopAt;
        EXPECT_FALSE(Exists(image + ".part")) << stopAt;
    }
}

TEST_F(FolderImagePosix, ImageInsideTheFolderOrNowhere) {
    std::string error;
    for (const std::string& inside : {src + "/disc.iso", src + "/sub/../sub/disc.iso",
                                      dir + "/../" + dir.substr(dir.rfind('/') + 1) + "/disc/x.iso"}) {
        EXPECT_FALSE(vk::WriteFolderImage(src, inside, "DISC", nullptr, error)) << inside;
        EXPECT_EQ(error, inside + ": the disc image cannot lie inside the folder it is made of.");
    }
    EXPECT_FALSE(Exists(src + "/disc.iso"));
    EXPECT_FALSE(Exists(src + "/sub/disc.iso"));

    const std::string nowhere = dir + "/missing/disc.iso";
    EXPECT_FALSE(vk::WriteFolderImage(src, nowhere, "DISC", nullptr, error));
    EXPECT_EQ(error, nowhere + ": No such file or directory.");
}

} // namespace
