#pragma once

#include "TrialDrive.h"

#include <map>
#include <string>

namespace marlo::test {

// What the guest needs: its kernel and the initramfs made for it.
struct Guest {
    std::string kernel;
    std::string initramfs;
};

struct GuestResult {
    std::string failure; // empty when every operation ran and succeeded
    double seconds = 0;
};

// Boots the guest under QEMU (TCG: no KVM needed) with the image as a
// virtio disk whose every write and flush QEMU's blklogwrites driver logs
// into `log`. The guest runs each operation folder of the image in turn.
GuestResult runGuest(const Guest& guest, const DriveKind& drive, const std::string& image,
                     const std::string& log, bool skipDataFlush);

// The newest kernel under /boot whose modules are installed, and its
// version; empty when there is none.
std::pair<std::string, std::string> findGuestKernel();

} // namespace marlo::test
