#pragma once

#include "Result.h"
#include "WinHandedOn.h"
#include "WinHandle.h"
#include "WinPaths.h"

#include "WinSystem.h"

#include <string>

namespace marlo::win32 {

// The file a copy is written to beside its destination: hidden, named for the
// destination (see temporaryNameFor) and held open, sharing nothing, until it
// is put in place. Until then it is marked for deletion, so that the system
// removes it should the program die; unless it takes the destination's name
// it goes when this object goes.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    Status create(const SplitPath& destination);
    HANDLE handle() const { return file_.get(); }
    const std::wstring& path() const { return path_; }

    // Makes the written file ready to take the destination's name: the
    // deletion mark taken away, what the file it replaces hands on given (a
    // new name's file is ordinary), closed. New content is marked for
    // backup. Done once; a second call has nothing left to do.
    Status finish(const HandedOn& from);
    // It took the destination's name: nothing is left to remove.
    void keep() { path_.clear(); }

private:
    UniqueHandle file_;
    std::wstring path_;
    bool marked_ = false;
};

} // namespace marlo::win32
