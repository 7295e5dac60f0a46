// Runs one whole reset, without pauses, on the folder given as argument.
#include "ChildProcess.h"
#include "FakePlatform.h"
#include "ResetSequence.h"

namespace {

class NoPauses : public marlo::test::FakePlatform {
public:
    using FakePlatform::FakePlatform;
    void Sleep(int) override {}
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    NoPauses platform(argv[1]);
    marlo::ResetSequence sequence(platform, platform);
    marlo::test::signalReady(argv[2]);
    sequence.run();
    return platform.endedWith.value_or(3);
}
