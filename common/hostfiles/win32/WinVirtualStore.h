#pragma once

#include "VirtualStore.h"

#include <string>

namespace marlo {

// What Windows weighs for virtualisation, as this desk has it.
DeskFacts readDeskFacts();
// What it weighs of the program whose image is at `image` (UTF-8).
ProgramFacts readProgramFacts(const std::string& image);

} // namespace marlo
