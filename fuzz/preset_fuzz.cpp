// Preset files are eight lines anyone can edit or send. Any bytes read as a preset must
// write back as a file that reads the same state and writes the same bytes again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "preset_file.h"

using zkfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zk::FormattingState state;
    (void)zk::ParsePreset(bytes, state);
    const std::string file = zk::FormatPreset(state);
    zk::FormattingState back;
    check(zk::ParsePreset(file, back).status == zk::LoadResult::Ok, "written preset does not read");
    check(zk::FormatPreset(back) == file, "preset changed on its way back");
    return 0;
}
