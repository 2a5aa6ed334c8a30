// GenerateCode with every effect on, over texts of growing length: the time must grow
// linearly, and 65,534 characters must take at most 2 ms. Then the gradient alone in each
// of its types and blends.
#include <benchmark/benchmark.h>

#include <algorithm>

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
        auto code = zk::GenerateCode(text, st);
        bytes = code.size();
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
        benchmark::DoNotOptimize(zk::GenerateCode(text, st));
}
BENCHMARK(BM_GeneratePlain)->Arg(65534)->Unit(benchmark::kMicrosecond);

// The gradient alone over 64,000 characters in each type and blend (the rainbow has no
// blend of its own): each must stay within twice the time of the classic gradient, two
// colours mixed channel by channel (type 0, blend 0).
void BM_Gradient(benchmark::State& state) {
    const std::string text = sampleText(64000);
    zk::FormattingState st;
    st.GradientOn = 1;
    zk::GeneratorOptions options;
    options.gradient.type = static_cast<zk::GradientType>(state.range(0));
    options.gradient.blend = static_cast<zk::GradientBlend>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(zk::GenerateCode(text, st, options));
}
BENCHMARK(BM_Gradient)
    ->ArgNames({"type", "blend"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->Unit(benchmark::kMicrosecond);

// Each format, plain and compact (0 classic, 1 HTML5 with styles, 2 BBCode, 3 BBCode in per
// cent), with every effect on, over 64,000 characters; and with the gradient alone over
// 4,000 characters, for the size of each form.
void BM_GenerateFormat(benchmark::State& state) {
    const std::string text = sampleText(static_cast<std::size_t>(state.range(2)));
    zk::FormattingState st;
    st.GradientOn = 1;
    if (state.range(2) > 4000) {
        st.WavesOn = 1;
        st.WavesKind = 1;
        st.ScrollingOn = 1;
        st.SignatureOn = 1;
        st.SignatureText = "Léa";
    }
    zk::GeneratorOptions options;
    options.format = static_cast<zk::OutputFormat>(std::min<std::int64_t>(state.range(0), 2));
    options.percentSizes = state.range(0) == 3;
    options.compact = state.range(1) == 1;
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto code = zk::GenerateCode(text, st, options);
        bytes = code.size();
        benchmark::DoNotOptimize(code);
    }
    state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GenerateFormat)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}, {4000, 64000}})
    ->ArgNames({"format", "compact", "chars"})
    ->Unit(benchmark::kMicrosecond);

} // namespace
