#include <gtest/gtest.h>

#include "code_generator.h"
#include "string_utils.h"

namespace zk {
namespace {

struct ChannelCase {
    int start, end;
    std::uint64_t length;
    int symmetry;
    std::uint64_t t;
    int channel;
};

// Many of these rows are ones where the exact rational value is an integer but the
// rounded step lands just below it, so the truncation gives one less: the arithmetic, not
// just the formula, must match.
const ChannelCase kChannelCases[] = {
#include "gradient_cases.inc"
};

TEST(GradientArithmetic, everyChannelMatchesTheWorkedOutValue) {
    for (const auto& c : kChannelCases) {
        FormattingState st;
        st.GradientStartColor = c.start; // red channel carries the case
        st.GradientEndColor = c.end;
        st.GradientSymmetry = static_cast<std::uint8_t>(c.symmetry);
        const GradientSteps steps(st, c.length);
        // Position p with t = p - 1 (t stays below the turning point in the symmetric rows).
        const Color color = steps.colorAt(c.t + 1);
        EXPECT_EQ(color & 0xFF, c.channel) << c.start << "->" << c.end << " L=" << c.length
                                           << " m=" << c.symmetry << " t=" << c.t;
    }
}

TEST(GradientArithmetic, firstPositionHasTheStartColourAndTheEndIsNeverReached) {
    FormattingState st;
    st.GradientStartColor = 0x123456;
    st.GradientEndColor = 0xFEDCBA;
    for (std::uint64_t length : {1u, 2u, 7u, 100u, 65534u, 70000u}) {
        const GradientSteps steps(st, length);
        EXPECT_EQ(steps.colorAt(1), 0x123456);
        const Color last = steps.colorAt(length);
        if (length > 1) {
            EXPECT_NE(last, 0xFEDCBA);
        }
    }
}

TEST(GradientArithmetic, symmetricComesBackToTheStartColour) {
    FormattingState st;
    st.GradientSymmetry = 2;
    for (std::uint64_t length : {1u, 2u, 5u, 6u, 99u, 100u, 65534u}) {
        const GradientSteps steps(st, length);
        EXPECT_EQ(steps.colorAt(length), steps.colorAt(1)) << length;
        for (std::uint64_t p = length / 2 + 2; p <= length; ++p)
            ASSERT_EQ(steps.colorAt(p), steps.colorAt(length - p + 1)) << length << " " << p;
    }
}

TEST(GradientArithmetic, symmetryZeroFromAnEmptySettingsLineCountsAsPlain) {
    FormattingState st;
    st.GradientSymmetry = 0;
    const GradientSteps steps(st, 4);
    EXPECT_EQ(ColorToHtml(steps.colorAt(2)), "FF3300");
}

TEST(GradientArithmetic, systemColoursAreResolvedFirst) {
    FormattingState st;
    st.GradientStartColor = static_cast<Color>(0x8000000F); // button face
    st.GradientEndColor = static_cast<Color>(0x8000000F);
    const GradientSteps steps(st, 3);
    EXPECT_EQ(steps.colorAt(2), 0xF0F0F0);
}

} // namespace
} // namespace zk
