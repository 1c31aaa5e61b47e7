// Times the playlist editor's completion of local entries: each file's tag
// read and its stream probed through the engine's ProbeFileInfo, as when
// files are added to the editor's list (without progress windows). Every
// file of the folder is completed once per round as a record of its own;
// then the same folder is added as a drop (listing, filter, completion).
// Prints one line per round and the medians.
//
//   entry_completion_bench FOLDER [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine_entry_prober.h"
#include "entry_import.h"
#include "playlist_entry.h"
#include "simulated_engine.h"

namespace {

using namespace plyvane;
using Timer = std::chrono::steady_clock;

double MillisecondsSince(Timer::time_point start) {
    return std::chrono::duration<double, std::milli>(Timer::now() - start).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: entry_completion_bench FOLDER [ROUNDS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    std::vector<FolderItem> items;
    if (!PlatformFileSystem().ListFolder(folder, items)) {
        std::fprintf(stderr, "entry_completion_bench: cannot list %s\n", folder.c_str());
        return 1;
    }
    std::vector<std::string> files;
    for (const FolderItem& item : items) {
        if (item.kind == PathKind::kFile) files.push_back(JoinPath(folder, item.name));
    }

    // The probe needs no device: the engine runs on simulated ports.
    SimulatedEngine simulated;
    EngineEntryProber prober(simulated.engine);
    const EditorServices services{PlatformFileSystem(), PlatformIniProfile(), prober, NoProgressWindows(), nullptr};

    std::vector<double> completionTimes;
    std::vector<double> dropTimes;
    for (int round = 1; round <= rounds; ++round) {
        EditorList list;
        EditorImport import(list, services);
        int completed = 0;
        int titled = 0;
        const auto start = Timer::now();
        for (const std::string& file : files) {
            std::string record = file;
            if (import.CompleteEntry(record)) ++completed;
            if (!EntryField(record, kEntryTitle).empty()) ++titled;
        }
        completionTimes.push_back(MillisecondsSince(start));

        const auto dropStart = Timer::now();
        import.AddPath(folder);
        dropTimes.push_back(MillisecondsSince(dropStart));
        std::printf("round %d: %zu entries, %d completed, %d titled from tags: completion %.1f ms; "
                    "as a dropped folder (%d added) %.1f ms\n",
                    round, files.size(), completed, titled, completionTimes.back(), list.Count(), dropTimes.back());
    }
    std::printf("median completion of %zu entries: %.1f ms\n", files.size(), Median(completionTimes));
    std::printf("median dropped folder: %.1f ms\n", Median(dropTimes));
    return 0;
}
