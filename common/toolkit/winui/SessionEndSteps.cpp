#include "SessionEndSteps.h"

#include "SessionEnd.h"

#include "WinSystem.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace marlo {

namespace {

std::vector<const std::function<void()>*>& keptSteps()
{
    static std::vector<const std::function<void()>*> steps;
    return steps;
}

} // namespace

BeforeSessionEnd::BeforeSessionEnd(std::function<void()> step) : step_(std::move(step))
{
    keptSteps().push_back(&step_);
}

BeforeSessionEnd::~BeforeSessionEnd()
{
    std::erase(keptSteps(), &step_);
}

void endWithSession()
{
    const std::vector<const std::function<void()>*> steps = keptSteps();
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        (**step)();
    onSessionEndRequested(1);
}

void endProcessWithSession()
{
    setSessionEnder([](int status) { ExitProcess(static_cast<UINT>(status)); });
}

} // namespace marlo
