// Times the list scan of a playlist file: every entry fetched and its stream
// probed through the engine's ProbeFileInfo, as the player's scan does
// (without the progress window). Prints one line per round and the median.
//
//   playlist_scan_bench LIST [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine_entry_prober.h"
#include "playlist_file.h"
#include "playlist_scan.h"
#include "simulated_engine.h"

namespace {

using namespace plyvane;

class NoProgress : public ScanProgress {
public:
    void Begin(int) override {}
    bool CancelRequested() override { return false; }
    void ShowItem(const std::string&) override {}
    void Step() override {}
    void End() override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: playlist_scan_bench LIST [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    // The probe needs no device: the engine runs on simulated ports.
    SimulatedEngine simulated;
    EngineEntryProber prober(simulated.engine);
    NoProgress progress;

    std::vector<double> times;
    for (int round = 1; round <= rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        PlaylistFile list;
        if (list.Load(argv[1]) != LoadResult::kLoaded) {
            std::fprintf(stderr, "playlist_scan_bench: %s is no playlist\n", argv[1]);
            return 1;
        }
        PlaylistQueue queue;
        queue.Allocate(list.Count());
        ScanEntries(list, queue, prober, progress, ScanOptions{});
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        times.push_back(ms);
        int playable = 0;
        for (int entry = 1; entry <= queue.Count(); ++entry) playable += queue.IsPlayable(entry) ? 1 : 0;
        std::printf("round %d: %d entries, %d playable, list total %u ms, scan %.1f ms\n", round, queue.Count(),
                    playable, queue.ListTotal(), ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("median scan: %.1f ms\n", times[times.size() / 2]);
    return 0;
}
