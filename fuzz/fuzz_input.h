// Splitting a fuzzer's input into the numbers and texts a target needs, in the order they
// stand, so that the seeds in corpus/ can be written by hand (numbers first, texts cut at
// 0xFF bytes) and a crash input reads back the same. FuzzedDataProvider, which the generator
// target uses, takes its numbers from the end of the input instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zkfuzz {

class Input final {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : bytes_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, 0 once the input is used up.
    unsigned byte() {
        if (bytes_.empty())
            return 0;
        const auto b = static_cast<unsigned char>(bytes_.front());
        bytes_.remove_prefix(1);
        return b;
    }
    // Two bytes as a number, enough to reach past the end of any text drawn here.
    std::size_t number() { return byte() << 8 | byte(); }
    // The text up to the next 0xFF byte (dropped), or the rest.
    std::string_view piece() {
        const std::size_t end = bytes_.find('\xFF');
        const std::string_view p = bytes_.substr(0, end);
        bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
        return p;
    }
    std::string_view rest() {
        const std::string_view r = bytes_;
        bytes_ = {};
        return r;
    }

private:
    std::string_view bytes_;
};

inline void check(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace zkfuzz
