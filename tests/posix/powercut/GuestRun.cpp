#include "GuestRun.h"

#include "RunCommand.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace marlo::test {

GuestResult runGuest(const Guest& guest, const DriveKind& drive, const std::string& image,
                     const std::string& log, bool skipDataFlush)
{
    // QEMU neither creates nor empties the log.
    std::ofstream(log, std::ios::trunc).close();
    std::string append = "console=ttyS0 quiet panic=-1 marlo.fs=" + drive.type +
                         " marlo.options=" + drive.options +
                         " marlo.mark=" + std::to_string(drive.markOffset());
    if (skipDataFlush)
        append += " marlo.variant=skip-data-flush";
    const std::vector<std::string> command{
        "qemu-system-x86_64",
        "-machine",
        "q35,accel=tcg",
        "-cpu",
        "max",
        "-smp",
        "1",
        "-m",
        "512",
        "-nographic",
        "-no-reboot",
        "-net",
        "none",
        "-kernel",
        guest.kernel,
        "-initrd",
        guest.initramfs,
        "-append",
        append,
        "-drive",
        "if=none,id=d0,driver=blklogwrites,file.driver=file,file.filename=" + image +
            ",log.driver=file,log.filename=" + log,
        "-device",
        "virtio-blk-pci,drive=d0"};
    const auto start = std::chrono::steady_clock::now();
    const CommandResult ran = runCommand(command, 300);
    GuestResult result;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::istringstream lines(ran.output);
    bool done = false;
    for (std::string line; std::getline(lines, line);) {
        if (const auto at = line.find("powercut: "); at != std::string::npos) {
            const std::string said = line.substr(at + 10);
            done = done || said.starts_with("done");
            if (!said.starts_with("done") && !said.ends_with("exit 0") &&
                !said.ends_with("exit 0\r"))
                result.failure += said + "\n";
        }
    }
    if (!done)
        result.failure +=
            "the guest did not finish (status " + std::to_string(ran.status) + "):\n" +
            ran.output.substr(ran.output.size() > 3000 ? ran.output.size() - 3000 : 0);
    return result;
}

std::pair<std::string, std::string> findGuestKernel()
{
    std::pair<std::string, std::string> newest;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/boot", ignored)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("vmlinuz-"))
            continue;
        const std::string version = name.substr(8);
        if (std::filesystem::exists("/lib/modules/" + version + "/modules.dep") &&
            version > newest.second)
            newest = {entry.path().string(), version};
    }
    return newest;
}

} // namespace marlo::test
