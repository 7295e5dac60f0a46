#include "TaskbarProgress.h"

#include "ShellCalls.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <utility>

namespace marlo {
namespace {

using Microsoft::WRL::ComPtr;

class SystemTaskbarProgress final : public TaskbarProgress {
public:
    SystemTaskbarProgress(ComPtr<ITaskbarList3> list, HWND window)
        : list_(std::move(list)), window_(window)
    {
    }
    ~SystemTaskbarProgress() override { list_->SetProgressState(window_, TBPF_NOPROGRESS); }

    void busy() override { list_->SetProgressState(window_, TBPF_INDETERMINATE); }
    void at(int position, int whole) override
    {
        // The figures come on a timer, mostly unchanged; each call goes to
        // the shell's process.
        if (position == shown_)
            return;
        if (shown_ < 0)
            list_->SetProgressState(window_, TBPF_NORMAL);
        list_->SetProgressValue(window_, static_cast<ULONGLONG>(position),
                                static_cast<ULONGLONG>(whole));
        shown_ = position;
    }

private:
    ComPtr<ITaskbarList3> list_;
    HWND window_;
    int shown_ = -1;
};

class NoTaskbarProgress final : public TaskbarProgress {
public:
    void busy() override {}
    void at(int, int) override {}
};

} // namespace

std::unique_ptr<TaskbarProgress> systemTaskbarProgress(HWND window)
{
    const ShellCalls* shell = nullptr;
    ComPtr<ITaskbarList3> list;
    // The button exists already: the window has been shown since the start.
    if (window && SUCCEEDED(shellCallsOnThisThread(shell)) &&
        SUCCEEDED(shell->coCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(list.GetAddressOf()))) &&
        SUCCEEDED(list->HrInit()))
        return std::make_unique<SystemTaskbarProgress>(std::move(list), window);
    return std::make_unique<NoTaskbarProgress>();
}

} // namespace marlo
