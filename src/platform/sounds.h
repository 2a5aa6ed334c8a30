#pragma once

namespace zk::platform {

// The system's default beep: a command with nothing to work on.
void beep();

// The information sound that goes with the error banner. On Linux it is the same beep.
void informationSound();

// How many times each sound was played in this process, so tests can see it happened.
int beepCount();
int informationSoundCount();
void resetSoundCounts();

} // namespace zk::platform
