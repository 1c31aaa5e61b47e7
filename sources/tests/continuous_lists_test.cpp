#include "continuous_lists.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace plyvane {
namespace {

TEST(ContinuousLists, HandlesArePositiveDistinctAndFindTheirList) {
    ContinuousLists lists;
    long a = lists.Register({"a.mp2", "b.mp2"});
    long b = lists.Register({"c.mp2"});
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_NE(a, b);
    ASSERT_NE(lists.Find(a), nullptr);
    EXPECT_EQ(*lists.Find(a), (ContinuousList{"a.mp2", "b.mp2"}));
    EXPECT_EQ(*lists.Find(b), (ContinuousList{"c.mp2"}));
    EXPECT_EQ(ContinuousLists::ListName(a), "list:" + std::to_string(a));

    auto kept = lists.Find(a);
    lists.Unregister(a);
    EXPECT_EQ(lists.Find(a), nullptr);
    // A reader that found the list before keeps a valid copy.
    EXPECT_EQ(kept->at(1), "b.mp2");
    // A stale handle is not handed out again for a newer list.
    EXPECT_NE(lists.Register({"d.mp2"}), a);
    lists.Unregister(0);
    lists.Unregister(-5);
}

TEST(ContinuousLists, ParsesOnlyPlainPositiveDecimals) {
    struct Case {
        const char* name;
        bool parses;
        long handle;
    };
    const Case cases[] = {
        {"list:1", true, 1},
        {"LIST:42", true, 42},
        {"LiSt:7", true, 7},
        {"list:007", true, 7},
        {"list:2147483647", true, 2147483647L},
        {"list:0", false, 0},
        {"list:-3", false, 0},
        {"list:+3", false, 0},
        {"list: 3", false, 0},
        {"list:3 ", false, 0},
        {"list:3abc", false, 0},
        {"list:abc", false, 0},
        {"list:", false, 0},
        {"list", false, 0},
        {"lis", false, 0},
        {"", false, 0},
        {"list:99999999999999999999999999", false, 0},
        {"playlist:3", false, 0},
        {"c:\\music\\list:3", false, 0},
    };
    for (const Case& c : cases) {
        long handle = -1;
        EXPECT_EQ(ContinuousLists::ParseListName(c.name, handle), c.parses) << c.name;
        if (c.parses) {
            EXPECT_EQ(handle, c.handle) << c.name;
        }
    }
    long handle = -1;
    EXPECT_FALSE(ContinuousLists::ParseListName(nullptr, handle));
    EXPECT_TRUE(ContinuousLists::HasListPrefix("List:junk"));
    EXPECT_FALSE(ContinuousLists::HasListPrefix("lis"));
}

TEST(ContinuousLists, ConcurrentRegistrationGivesUniqueHandles) {
    ContinuousLists lists;
    constexpr int kThreads = 4;
    constexpr int kPerThread = 500;
    std::vector<std::vector<long>> handles(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&lists, &handles, t] {
            for (int i = 0; i < kPerThread; ++i) {
                long h = lists.Register({std::to_string(t) + "/" + std::to_string(i)});
                handles[t].push_back(h);
                auto found = lists.Find(h);
                if (found == nullptr || found->front() != std::to_string(t) + "/" + std::to_string(i))
                    handles[t].push_back(-1);
                if (i % 2) lists.Unregister(h);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    std::set<long> unique;
    for (auto& list : handles)
        for (long h : list) {
            EXPECT_GT(h, 0);
            unique.insert(h);
        }
    EXPECT_EQ(unique.size(), size_t{kThreads * kPerThread});
}

}  // namespace
}  // namespace plyvane
