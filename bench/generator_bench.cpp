// GenerateCode with every effect on, over texts of growing length: the time must grow
// linearly, and 65,534 characters must take at most 2 ms.
#include <benchmark/benchmark.h>

#include "code_generator.h"

namespace {

std::string sampleText(std::size_t length) {
    static const std::string kLine = "Bonjour à tous, voici un petit message en couleurs !\r\n";
    std::string text;
    while (text.size() < length)
        text += kLine;
    text.resize(length);
    return text;
}

void BM_GenerateAllEffects(benchmark::State& state) {
    const std::string text = sampleText(static_cast<std::size_t>(state.range(0)));
    zk::FormattingState st;
    st.GradientOn = 1;
    st.WavesOn = 1;
    st.WavesKind = 1;
    st.ScrollingOn = 1;
    st.SignatureOn = 1;
    st.SignatureText = "Léa";
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto code = zk::GenerateCode(text, st, 0);
        bytes = code->size();
        benchmark::DoNotOptimize(code);
    }
    state.counters["output_bytes"] = static_cast<double>(bytes);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GenerateAllEffects)
    ->Arg(8192)
    ->Arg(16384)
    ->Arg(32768)
    ->Arg(65534)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

void BM_GeneratePlain(benchmark::State& state) {
    const std::string text = sampleText(static_cast<std::size_t>(state.range(0)));
    zk::FormattingState st;
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::GenerateCode(text, st, 0));
}
BENCHMARK(BM_GeneratePlain)->Arg(65534)->Unit(benchmark::kMicrosecond);

} // namespace
