// The queue of the active list: one played flag, duration and volume preset
// per entry, the current entry, and the choice of the next and previous
// entry in order or at random, once or endlessly.
//
// Entries are numbered from 1 as the user sees them. The current index is 0
// before the first entry and count + 1 past the last.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace plyvane {

// What the track section shows: "Track", "Total" and "To go".
struct TrackCounters {
    int track = 0;
    int total = 0;
    int toGo = 0;
};

class PlaylistQueue {
public:
    // rand() by default; tests draw from their own sequence.
    using RandomSource = std::function<int()>;
    explicit PlaylistQueue(RandomSource random = nullptr);

    enum class TableFailure { kNone, kPlayedFlags, kDurations };
    // Fresh tables for `count` entries (each with room for count + 4): all
    // unplayed, durations and presets 0, index 0, the list just built.
    TableFailure Allocate(int count);
    // No tables: count 0, index 0.
    void Free();
    bool HasTables() const { return !durations_.empty(); }
    int Count() const { return count_; }
    bool Contains(int entry) const { return entry >= 1 && entry <= count_; }

    // Duration in ms: 0 cannot be played, -1 playable with unknown length.
    int32_t Duration(int entry) const;
    void SetDuration(int entry, int32_t milliseconds);
    bool IsPlayable(int entry) const { return Contains(entry) && Duration(entry) != 0; }
    // Volume preset in percent, 0 = none.
    int32_t Volume(int entry) const;
    void SetVolume(int entry, int32_t percent);
    bool IsPlayed(int entry) const;
    void SetPlayed(int entry, bool played);
    // Never to be played in this list: duration 0 and marked played.
    void Exclude(int entry);

    int CurrentIndex() const { return current_; }
    void SetCurrentIndex(int index) { current_ = index; }
    bool Random() const { return random_; }
    bool Endless() const { return endless_; }
    void SetRandom(bool on) { random_ = on; }
    void SetEndless(bool on) { endless_ = on; }

    // A new round: an entry counts as played exactly when it cannot be played.
    void ResetFlags();
    // Played up to and including `entry`, the later ones as a new round has them.
    void MarkPlayedUpTo(int entry);
    int UnplayedCount() const;
    int PlayedCount() const;
    bool AnyPlayable() const;

    // The next entry (it becomes current and is marked played), or
    // count + 1 at the end of the list.
    int NextIndex();
    // The previous entry (current and played), or 0 for none.
    int PreviousIndex();
    // Track = entry, Total = count, To go = the entries not yet played.
    TrackCounters CountersFor(int entry) const;

    // Sum of the known durations (unknown lengths add nothing).
    uint32_t ListTotal() const;
    // Sum of the known durations of the played entries except `current`.
    uint32_t PlayedTime(int current) const;

private:
    // The r-th unplayed entry for a drawn r (0 when none is unplayed).
    int DrawUnplayed();
    void Enter(int entry);
    std::size_t Slot(int entry) const { return static_cast<std::size_t>(entry - 1); }

    RandomSource draw_;
    int count_ = 0;
    int current_ = 0;
    bool justBuilt_ = false;
    bool random_ = false;
    bool endless_ = false;
    std::vector<uint32_t> played_;
    std::vector<int32_t> durations_;
    std::vector<int32_t> volumes_;
};

}  // namespace plyvane
