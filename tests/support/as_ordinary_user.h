// Tests of permissions need an ordinary user: root may read and write any file. When the
// tests run as root, such a test runs its own executable again as the user "nobody" and
// reports that run's result as its own, so that it is never skipped.
#pragma once

#include <string>
#include <vector>

namespace zktest {

// Whether this process runs as root (tests of permissions must then run as "nobody").
bool runsAsRoot();

struct OrdinaryUserRun final {
    int status = -1;    // exit status; -1 when the run could not be started or was killed
    std::string output; // what it wrote on its standard output and error
};

// Runs this process's executable again with args as "nobody", through setpriv. The run
// gets a temporary folder of its own, reachable by that user: a copy of the executable (so
// that a build tree in a private folder does not matter), HOME and TMPDIR, and a copy of the
// X authority file, so that a window test can still reach the display.
OrdinaryUserRun runSelfAsOrdinaryUser(const std::vector<std::string>& args);

// Whether a run of Qt Test functions passed: it ended well, something passed, nothing
// failed and nothing was skipped.
bool qtestRunPassed(const OrdinaryUserRun& run);

} // namespace zktest
