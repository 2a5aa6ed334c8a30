// libFuzzer target: any bytes as text (made valid UTF-8 as the window would hand it over)
// and the first bytes as the switches of the state. Checks that generation ends and that
// the signature, added last, closes the code.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "code_generator.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6)
        return 0;
    zk::FormattingState st;
    st.GradientOn = data[0] & 1;
    st.WavesOn = (data[0] >> 1) & 1;
    st.WavesKind = (data[0] >> 2) & 1;
    st.ScrollingOn = (data[0] >> 3) & 1;
    st.SignatureOn = (data[0] >> 4) & 1;
    st.IgnoreTextTags = (data[0] >> 5) & 1;
    st.GradientSymmetry = data[1] % 4;
    st.FontSizeIndex = data[2];
    st.MarqueeHorizontal = data[3] % 4;
    st.MarqueeVertical = (data[3] >> 2) % 4;
    st.MarqueeStyle = (data[3] >> 4) % 3;
    st.GradientStartColor = static_cast<zk::Color>(data[4] * 0x10101u);
    st.GradientEndColor = static_cast<zk::Color>(data[5]) << 24 | 0x80FF;
    st.SignatureText = "S";
    const std::string raw(reinterpret_cast<const char*>(data) + 6, size - 6);
    const std::string text = zk::u32ToUtf8(zk::utf8ToU32(raw));
    const auto code = zk::GenerateCode(text, st, (data[1] & 0x80) ? zk::kCodeViewPanel : 0);
    if (!code)
        std::abort();
    if (st.SignatureOn && code->size() < 4)
        std::abort();
    return 0;
}
