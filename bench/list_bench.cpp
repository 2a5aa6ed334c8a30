// The list file of an image list as large as a list may be: writing it after a change,
// and reading it when the list is chosen. Both must stay well under a tenth of a second,
// so that adding an entry to a long list is not felt.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

#include "list_store.h"

namespace {

// Addresses of ordinary length, as many as fit in size bytes; accented: one in a hundred
// holds an "é", which makes the file Windows-1252.
std::vector<std::string> sampleEntries(std::size_t size, bool accented) {
    std::vector<std::string> entries;
    std::size_t total = 0;
    for (int i = 0; total < size; ++i) {
        std::string entry = "http://img.example.org/images/" + std::to_string(i) + ".jpg";
        if (accented && i % 100 == 0)
            entry += "?t=\xC3\xA9t\xC3\xA9";
        total += entry.size() + 2;
        entries.push_back(std::move(entry));
    }
    return entries;
}

void BM_FormatListFile(benchmark::State& state) {
    const auto entries = sampleEntries(zk::kListFileMaxBytes - 4096, state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::formatListFile(entries));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(zk::kListFileMaxBytes));
}
BENCHMARK(BM_FormatListFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReadListFile(benchmark::State& state) {
    char path[] = "/tmp/zk-list-bench-XXXXXX";
    const int fd = ::mkstemp(path);
    const std::string bytes =
        zk::formatListFile(sampleEntries(zk::kListFileMaxBytes - 4096, state.range(0) != 0));
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        state.SkipWithError("cannot write the sample list");
    ::close(fd);
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::readListFile(path));
    ::unlink(path);
}
BENCHMARK(BM_ReadListFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WriteListFile(benchmark::State& state) {
    char folder[] = "/tmp/zk-list-bench-XXXXXX";
    ::mkdtemp(folder);
    const std::string path = std::string(folder) + "/x.lst";
    const auto entries = sampleEntries(zk::kListFileMaxBytes - 4096, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::writeListFile(path, entries));
    ::unlink(path.c_str());
    ::rmdir(folder);
}
BENCHMARK(BM_WriteListFile)->Unit(benchmark::kMillisecond);

} // namespace
