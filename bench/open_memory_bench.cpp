// SPDX-License-Identifier: GPL-3.0-or-later
// Peak memory of opening a 4096 x 4096 picture of 8 layers (512 MiB of pixels) from its file.
// Each case runs one step of bench/open_memory/probe.cpp in a process of its own and takes the
// process's peak resident size (ru_maxrss); the file is written once, by the probe as well.
//
// Cases, each reporting peak_mib and, against figures measured in the same run:
//   to_pixels     peak / the 512 MiB of the layers' pixels
//   to_floor      peak / the peak of a process that only makes and fills such a document
// OpenMemory/floor      the floor itself
// OpenMemory/whole      the file read whole into memory, then decoded (how reads used to go)
// OpenMemory/read       the picture reader alone
// OpenMemory/taken      the editor's open of the file, before anything is painted
// OpenMemory/open       the same with the first paint of the window
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr double pixelMiB = 4096.0 * 4096.0 * 4 * 8 / (1 << 20);

// The peak resident size of the probe running `step`, in MiB; negative when it failed.
double probePeakMiB(const std::string& step, const std::string& path) {
    std::vector<std::string> args{VORK_OPEN_MEMORY_PROBE, step, path};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(usage.ru_maxrss) / 1024.0; // KiB on Linux
}

const std::string& pictureFile() {
    static const std::string path = [] {
        const auto p = std::filesystem::temp_directory_path() / "vork_open_memory_bench.trnl";
        std::filesystem::remove(p);
        if (probePeakMiB("write", p.string()) < 0)
            return std::string();
        return p.string();
    }();
    return path;
}

double floorMiB() {
    static const double floor = probePeakMiB("pixels", "");
    return floor;
}

void OpenMemory(benchmark::State& state, const std::string& step) {
    const std::string& path = pictureFile();
    if (path.empty() || floorMiB() < 0) {
        state.SkipWithError("the probe could not write the picture");
        return;
    }
    double peak = 0;
    for (auto _ : state) {
        peak = step == "pixels" ? probePeakMiB("pixels", "") : probePeakMiB(step, path);
        if (peak < 0) {
            state.SkipWithError(("the probe failed at " + step).c_str());
            return;
        }
    }
    state.counters["peak_mib"] = peak;
    state.counters["to_pixels"] = peak / pixelMiB;
    state.counters["to_floor"] = peak / floorMiB();
}

BENCHMARK_CAPTURE(OpenMemory, floor, std::string("pixels"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenMemory, whole, std::string("whole"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenMemory, read, std::string("read"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenMemory, taken, std::string("taken"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenMemory, open, std::string("open"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
