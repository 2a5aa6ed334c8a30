#include "sounds.h"

#include <QApplication>

namespace zk::platform {

namespace {
int beeps = 0;
int informationSounds = 0;
} // namespace

void beep() {
    ++beeps;
    QApplication::beep();
}

void informationSound() {
    ++informationSounds;
    QApplication::beep();
}

int beepCount() {
    return beeps;
}
int informationSoundCount() {
    return informationSounds;
}

void resetSoundCounts() {
    beeps = 0;
    informationSounds = 0;
}

} // namespace zk::platform
