#include "playlist_queue.h"

#include <cstdlib>
#include <new>

namespace plyvane {

PlaylistQueue::PlaylistQueue(RandomSource random)
    : draw_(random ? std::move(random) : RandomSource([] { return std::rand(); })) {}

PlaylistQueue::TableFailure PlaylistQueue::Allocate(int count) {
    Free();
    if (count < 0) count = 0;
    const std::size_t size = static_cast<std::size_t>(count) + 4;
    try {
        played_.assign(size, 0);
    } catch (const std::bad_alloc&) {
        Free();
        return TableFailure::kPlayedFlags;
    }
    try {
        durations_.assign(size, 0);
        volumes_.assign(size, 0);
    } catch (const std::bad_alloc&) {
        Free();
        return TableFailure::kDurations;
    }
    count_ = count;
    justBuilt_ = true;
    return TableFailure::kNone;
}

void PlaylistQueue::Free() {
    std::vector<uint32_t>().swap(played_);
    std::vector<int32_t>().swap(durations_);
    std::vector<int32_t>().swap(volumes_);
    count_ = 0;
    current_ = 0;
    justBuilt_ = true;
}

int32_t PlaylistQueue::Duration(int entry) const {
    return Contains(entry) ? durations_[Slot(entry)] : 0;
}

void PlaylistQueue::SetDuration(int entry, int32_t milliseconds) {
    if (Contains(entry)) durations_[Slot(entry)] = milliseconds;
}

int32_t PlaylistQueue::Volume(int entry) const { return Contains(entry) ? volumes_[Slot(entry)] : 0; }

void PlaylistQueue::SetVolume(int entry, int32_t percent) {
    if (Contains(entry)) volumes_[Slot(entry)] = percent;
}

bool PlaylistQueue::IsPlayed(int entry) const { return Contains(entry) && played_[Slot(entry)] != 0; }

void PlaylistQueue::SetPlayed(int entry, bool played) {
    if (Contains(entry)) played_[Slot(entry)] = played ? 1 : 0;
}

void PlaylistQueue::Exclude(int entry) {
    SetDuration(entry, 0);
    SetPlayed(entry, true);
}

void PlaylistQueue::ResetFlags() {
    for (int entry = 1; entry <= count_; ++entry) SetPlayed(entry, !IsPlayable(entry));
}

void PlaylistQueue::MarkPlayedUpTo(int entry) {
    for (int other = 1; other <= count_; ++other)
        SetPlayed(other, other <= entry || !IsPlayable(other));
}

int PlaylistQueue::UnplayedCount() const {
    int unplayed = 0;
    for (int entry = 1; entry <= count_; ++entry) unplayed += IsPlayed(entry) ? 0 : 1;
    return unplayed;
}

int PlaylistQueue::PlayedCount() const { return count_ - UnplayedCount(); }

bool PlaylistQueue::AnyPlayable() const {
    for (int entry = 1; entry <= count_; ++entry) {
        if (IsPlayable(entry)) return true;
    }
    return false;
}

int PlaylistQueue::DrawUnplayed() {
    const int unplayed = UnplayedCount();
    if (unplayed == 0) return 0;
    // rand() is never negative; a test's source might be.
    int r = draw_() % unplayed;
    if (r < 0) r += unplayed;
    for (int entry = 1; entry <= count_; ++entry) {
        if (!IsPlayed(entry) && r-- == 0) return entry;
    }
    return 0;
}

void PlaylistQueue::Enter(int entry) {
    current_ = entry;
    SetPlayed(entry, true);
}

int PlaylistQueue::NextIndex() {
    if (random_) {
        int entry = DrawUnplayed();
        if (entry == 0) {
            // None left in this round. A list with nothing playable ends at
            // once instead of drawing again and again.
            if (!AnyPlayable() || (!endless_ && current_ != 0)) {
                current_ = count_ + 1;
                return current_;
            }
            ResetFlags();
            entry = DrawUnplayed();
        }
        Enter(entry);
        return entry;
    }

    int next;
    if (current_ == 0 && justBuilt_) {
        next = 1;
    } else {
        next = (current_ == 0 ? 1 : current_) + 1;
    }
    justBuilt_ = false;
    if (next > count_) {
        if (!endless_ || !AnyPlayable()) {
            current_ = count_ + 1;
            return current_;
        }
        ResetFlags();
        next = 1;
    }
    Enter(next);
    return next;
}

int PlaylistQueue::PreviousIndex() {
    if (count_ == 0) return 0;
    if (random_) {
        int entry = DrawUnplayed();
        if (entry == 0) {
            if (!AnyPlayable() || (!endless_ && current_ <= count_)) return 0;
            ResetFlags();
            entry = DrawUnplayed();
        }
        Enter(entry);
        return entry;
    }

    int index = current_ > count_ ? count_ : current_;
    if (index > 1 && IsPlayable(index)) SetPlayed(index, false);
    --index;
    if (index < 1) {
        if (!endless_) {
            current_ = 0;
            return 0;
        }
        for (int entry = 1; entry <= count_; ++entry) SetPlayed(entry, true);
        index = count_;
    }
    Enter(index);
    return index;
}

TrackCounters PlaylistQueue::CountersFor(int entry) const {
    return TrackCounters{entry, count_, UnplayedCount()};
}

uint32_t PlaylistQueue::ListTotal() const {
    uint64_t total = 0;
    for (int entry = 1; entry <= count_; ++entry) {
        if (Duration(entry) > 0) total += static_cast<uint32_t>(Duration(entry));
    }
    return total > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(total);
}

uint32_t PlaylistQueue::PlayedTime(int current) const {
    uint64_t total = 0;
    for (int entry = 1; entry <= count_; ++entry) {
        if (entry != current && IsPlayed(entry) && Duration(entry) > 0)
            total += static_cast<uint32_t>(Duration(entry));
    }
    return total > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(total);
}

}  // namespace plyvane
