#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "playlist_queue.h"

namespace plyvane {
namespace {

// A queue of `durations.size()` entries as a scan leaves it.
PlaylistQueue MakeQueue(const std::vector<int32_t>& durations, PlaylistQueue::RandomSource random = nullptr) {
    PlaylistQueue queue(std::move(random));
    EXPECT_EQ(queue.Allocate(static_cast<int>(durations.size())), PlaylistQueue::TableFailure::kNone);
    for (int entry = 1; entry <= queue.Count(); ++entry) {
        queue.SetDuration(entry, durations[static_cast<size_t>(entry - 1)]);
        queue.SetPlayed(entry, queue.Duration(entry) == 0);
    }
    return queue;
}

std::vector<int> Nexts(PlaylistQueue& queue, int times) {
    std::vector<int> order;
    for (int i = 0; i < times; ++i) order.push_back(queue.NextIndex());
    return order;
}

TEST(PlaylistQueueOrder, InOrderTheListPlaysOnceOrEndlessly) {
    PlaylistQueue once = MakeQueue({1000, 2000, 3000});
    EXPECT_EQ(Nexts(once, 5), (std::vector<int>{1, 2, 3, 4, 4}));
    EXPECT_EQ(once.CurrentIndex(), 4);

    PlaylistQueue endless = MakeQueue({1000, 2000, 3000});
    endless.SetEndless(true);
    EXPECT_EQ(Nexts(endless, 7), (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
    // A new round starts with fresh flags.
    EXPECT_EQ(endless.UnplayedCount(), 2);
}

TEST(PlaylistQueueOrder, AnIndexOfZeroNotFromBuildingCountsAsTheFirst) {
    PlaylistQueue queue = MakeQueue({1000, 2000, 3000});
    EXPECT_EQ(queue.NextIndex(), 1);
    // Previous before the first entry leaves the index at 0; the first entry
    // is still playing, so Next goes on to the second.
    EXPECT_EQ(queue.PreviousIndex(), 0);
    EXPECT_EQ(queue.CurrentIndex(), 0);
    EXPECT_EQ(queue.NextIndex(), 2);
}

TEST(PlaylistQueueOrder, PreviousStepsBackAndGivesTheEntryBackToTheRound) {
    PlaylistQueue queue = MakeQueue({1000, 2000, 3000});
    Nexts(queue, 3);
    EXPECT_EQ(queue.PreviousIndex(), 2);
    EXPECT_FALSE(queue.IsPlayed(3));
    EXPECT_TRUE(queue.IsPlayed(2));
    EXPECT_EQ(queue.PreviousIndex(), 1);
    EXPECT_EQ(queue.PreviousIndex(), 0);

    // Past the end, Previous starts from the last entry.
    PlaylistQueue ended = MakeQueue({1000, 2000, 3000});
    Nexts(ended, 4);
    EXPECT_EQ(ended.CurrentIndex(), 4);
    EXPECT_EQ(ended.PreviousIndex(), 2);

    // Endless wraps to the last entry with every entry played.
    PlaylistQueue endless = MakeQueue({1000, 2000, 3000});
    endless.SetEndless(true);
    endless.NextIndex();
    EXPECT_EQ(endless.PreviousIndex(), 3);
    EXPECT_EQ(endless.UnplayedCount(), 0);
}

TEST(PlaylistQueueRandom, EachEntryPlaysExactlyOncePerRound) {
    uint32_t seed = 12345;
    auto lcg = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) & 0x7FFF);
    };
    PlaylistQueue once = MakeQueue({1000, 0, 3000, 4000, 5000}, lcg);
    once.SetRandom(true);
    std::vector<int> round = Nexts(once, 4);
    EXPECT_EQ(std::set<int>(round.begin(), round.end()), (std::set<int>{1, 3, 4, 5}));
    // The fifth Next ends the list.
    EXPECT_EQ(once.NextIndex(), 6);

    PlaylistQueue endless = MakeQueue({1000, 0, 3000, 4000, 5000}, lcg);
    endless.SetRandom(true);
    endless.SetEndless(true);
    for (int r = 0; r < 3; ++r) {
        std::vector<int> order = Nexts(endless, 4);
        EXPECT_EQ(std::set<int>(order.begin(), order.end()), (std::set<int>{1, 3, 4, 5})) << "round " << r;
    }
}

TEST(PlaylistQueueRandom, TheDrawPicksTheRthUnplayedEntryInListOrder) {
    std::vector<int> draws{2, 0, 7};
    size_t next = 0;
    PlaylistQueue queue = MakeQueue({1000, 2000, 3000, 4000}, [&] { return draws[next++]; });
    queue.SetRandom(true);
    queue.SetPlayed(2, true);
    // Unplayed 1, 3, 4: draw 2 takes the third of them.
    EXPECT_EQ(queue.NextIndex(), 4);
    // Unplayed 1, 3: draw 0 takes the first.
    EXPECT_EQ(queue.NextIndex(), 1);
    // Unplayed 3: 7 % 1 = 0.
    EXPECT_EQ(queue.NextIndex(), 3);
}

TEST(PlaylistQueueRandom, ANewListStartsItsRoundEvenWithoutEndless) {
    PlaylistQueue queue = MakeQueue({1000, 2000});
    queue.SetRandom(true);
    queue.SetPlayed(1, true);
    queue.SetPlayed(2, true);
    // Nothing played from this list yet (index 0): a round begins.
    int first = queue.NextIndex();
    EXPECT_TRUE(first == 1 || first == 2);
}

TEST(PlaylistQueueRandom, PreviousDrawsToo) {
    PlaylistQueue queue = MakeQueue({1000, 2000, 3000}, [] { return 0; });
    queue.SetRandom(true);
    EXPECT_EQ(queue.NextIndex(), 1);
    EXPECT_EQ(queue.PreviousIndex(), 2);
    EXPECT_EQ(queue.PreviousIndex(), 3);
    // None left, inside the list, no endless: nothing.
    EXPECT_EQ(queue.PreviousIndex(), 0);
    queue.SetEndless(true);
    EXPECT_EQ(queue.PreviousIndex(), 1);
}

TEST(PlaylistQueueOrder, AListWithNothingPlayableEndsAtOnce) {
    for (bool random : {false, true}) {
        for (bool endless : {false, true}) {
            PlaylistQueue queue = MakeQueue({0, 0, 0});
            queue.SetRandom(random);
            queue.SetEndless(endless);
            if (random) {
                EXPECT_EQ(queue.NextIndex(), 4) << endless;
            } else {
                // In order the entries are still visited once each, then the end.
                EXPECT_EQ(Nexts(queue, 4), (std::vector<int>{1, 2, 3, 4})) << endless;
            }
            EXPECT_EQ(queue.NextIndex(), 4) << random << endless;
            EXPECT_EQ(queue.PreviousIndex(), random ? 0 : 2) << random << endless;
        }
    }
    PlaylistQueue empty = MakeQueue({});
    EXPECT_EQ(empty.NextIndex(), 1);
    EXPECT_EQ(empty.PreviousIndex(), 0);
}

TEST(PlaylistQueueTimes, UnknownLengthsAddNothing) {
    PlaylistQueue queue = MakeQueue({1000, -1, 0, 2500});
    EXPECT_EQ(queue.ListTotal(), 3500u);
    EXPECT_TRUE(queue.IsPlayable(2));
    EXPECT_FALSE(queue.IsPlayable(3));
    Nexts(queue, 2);
    // Played: 1, 2 and the excluded 3; the current track does not count.
    EXPECT_EQ(queue.PlayedTime(2), 1000u);
    queue.NextIndex();
    queue.NextIndex();
    EXPECT_EQ(queue.PlayedTime(4), 1000u);
    EXPECT_EQ(queue.PlayedTime(0), 3500u);
}

TEST(PlaylistQueueTables, TablesHaveRoomForTheCountAndFreeingEmptiesThem) {
    PlaylistQueue queue;
    EXPECT_FALSE(queue.HasTables());
    ASSERT_EQ(queue.Allocate(0), PlaylistQueue::TableFailure::kNone);
    EXPECT_TRUE(queue.HasTables());
    EXPECT_EQ(queue.Count(), 0);
    queue.SetDuration(1, 5);  // outside the list: ignored
    EXPECT_EQ(queue.Duration(1), 0);
    ASSERT_EQ(queue.Allocate(-4), PlaylistQueue::TableFailure::kNone);
    EXPECT_EQ(queue.Count(), 0);
    queue.SetRandom(true);
    queue.Free();
    EXPECT_FALSE(queue.HasTables());
    EXPECT_TRUE(queue.Random()) << "the switches outlive a list";
}

}  // namespace
}  // namespace plyvane
