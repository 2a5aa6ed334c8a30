// A slow, literal generator: the working text is rewritten pass after pass (gradient,
// waves, line breaks, spaces) exactly as the steps are described, re-reading the characters
// of each pass's output. The product fuses these passes into one; the differential test
// checks that both agree.
#pragma once

#include <string>
#include <string_view>

#include "formatting_state.h"

namespace zk::reference {

// keepLineBreaks: the line breaks stay as they are instead of becoming "<br>".
std::string GenerateCode(std::string_view text, const FormattingState& state,
                         bool keepLineBreaks = false);

} // namespace zk::reference
