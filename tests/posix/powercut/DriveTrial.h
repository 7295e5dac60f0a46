#pragma once

#include "GuestRun.h"
#include "TrialCases.h"
#include "TrialDrive.h"

#include <map>
#include <random>
#include <string>
#include <vector>

namespace marlo::test {

// What the trial found for one operation on one drive.
struct OperationTally {
    std::string folder;
    std::size_t entries = 0, flushes = 0; // of the operation's part of the log
    int states = 0, subsetStates = 0, badStates = 0;
    int badCompleted = 0;                 // of them, after the operation had reported success
    std::map<std::string, int> badKinds;  // bad states by the kind of their faults
    std::vector<std::string> firstFaults; // a few, each with its crash state
};

struct DriveTally {
    std::string failure; // the trial could not be run on the drive
    std::size_t entries = 0, flushes = 0;
    double guestSeconds = 0, checkSeconds = 0;
    std::vector<OperationTally> operations;
};

struct TrialSettings {
    Guest guest;
    std::string driver;     // run again on each state, on the host
    std::string workFolder; // images, log and mount point
    int subsetsPerInterval = 4;
    bool skipDataFlush = false;
};

// One guest run of the operations on a fresh image of the drive, then every
// crash state of the log rebuilt, mounted, judged, checked by the drive's own
// checker, and given to the next run of the operation.
DriveTally trialOnDrive(const TrialSettings& settings, const DriveKind& drive,
                        const std::vector<OperationCase>& cases, std::mt19937_64& random);

} // namespace marlo::test
