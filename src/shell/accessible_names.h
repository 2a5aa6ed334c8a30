// The names a screen reader says for the window's controls that show neither a caption
// nor a hint (the tool buttons say their hints by themselves).
#pragma once

#include <vector>

#include "accessibility.h"

namespace zk::shell {

std::vector<zk::platform::ControlName> accessibleNames();

} // namespace zk::shell
