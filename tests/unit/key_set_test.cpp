// The scan's set of keys against std::set as the model: what was inserted is found, what was
// not is not, whatever the growth of the table and the blocks.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "disc/key_set.h"

TEST(KeySet, AnswersAsAnOrdinarySetWouldThroughGrowth) {
    vk::KeySet keys;
    std::set<std::string> model;
    unsigned seed = 11;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const std::string special[] = {"",
                                   std::string("a\0b", 3),
                                   std::string("a\0c", 3),
                                   std::string(70000, 'x'),
                                   std::string(70000, 'x') + "y",
                                   "en\\index.html",
                                   "EN\\index.html"};
    for (const std::string& key : special)
        EXPECT_EQ(model.insert(key).second, keys.Insert(key)) << key.size();
    for (int i = 0; i < 60000; ++i) {
        // Short keys from a small alphabet, so that many come twice.
        std::string key(1 + next() % 6, 'a');
        for (char& c : key)
            c = static_cast<char>('a' + next() % 4);
        EXPECT_EQ(model.insert(key).second, keys.Insert(key)) << key;
    }
    EXPECT_EQ(model.size(), keys.Size());
    for (const std::string& key : model)
        EXPECT_TRUE(keys.Contains(key)) << key;
    const std::string absent[] = {"e", "aaaaaaa", std::string("a\0d", 3), std::string(70001, 'x')};
    for (const std::string& key : absent)
        EXPECT_FALSE(keys.Contains(key)) << key.size();
    keys.Clear();
    EXPECT_FALSE(keys.Contains(""));
    EXPECT_TRUE(keys.Insert("en\\index.html"));
    EXPECT_EQ(1u, keys.Size());
}
