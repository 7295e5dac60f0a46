#pragma once

#include "FakePlatform.h"

#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>

namespace marlo::test {

// The recording fake on a real folder, whose pauses last their time times
// `scale` for real (0: only on the fake clock). Given a descriptor, it
// writes one byte there as each pause begins, so that a test can aim a kill
// at a pause and the steps that follow it.
class ScaledPauses : public FakePlatform {
public:
    ScaledPauses(std::string folder, double scale, int pauseFd = -1)
        : FakePlatform(std::move(folder)), scale_(scale), pauseFd_(pauseFd)
    {
    }

    void Sleep(int milliseconds) override
    {
        FakePlatform::Sleep(milliseconds);
        if (pauseFd_ >= 0) {
            const char byte = 'p';
            [[maybe_unused]] auto written = write(pauseFd_, &byte, 1);
        }
        if (scale_ > 0)
            std::this_thread::sleep_for(
                std::chrono::duration<double, std::milli>(milliseconds * scale_));
    }

private:
    double scale_;
    int pauseFd_;
};

} // namespace marlo::test
