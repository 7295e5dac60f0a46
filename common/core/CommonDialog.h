#pragma once

#include "Result.h"

#include <string>

namespace marlo {

// The modal file chooser. Its properties keep their values from one showing
// to the next; commands set what they need before every showing.
class CommonDialog {
public:
    virtual ~CommonDialog() = default;

    virtual void SetCancelError(bool cancelError) = 0;
    virtual void SetInitDir(const std::string& folder) = 0;
    // Passed on as given ("*.mdb"); what the chooser makes of it is its own.
    virtual void SetDefaultExt(const std::string& extension) = 0;
    // "desc|pattern|desc|pattern...".
    virtual void SetFilter(const std::string& filter) = 0;
    virtual void SetDialogTitle(const std::string& title) = 0;

    // A cancelled showing fails when CancelError is true, and otherwise
    // returns with FileName empty.
    virtual Status ShowOpen() = 0;
    virtual Status ShowSave() = 0;

    // Full path of the name chosen or typed at the last accepted showing.
    virtual std::string FileName() const = 0;
};

} // namespace marlo
