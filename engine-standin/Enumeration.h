// Enumeration: a snapshot of what a folder (or project, or routine) held when the add-in began to
// walk it. Items are kept by handle, so one removed during the walk is skipped, not handed out.
#pragma once

#include "AdoCodeGen.h"

#include <cstdint>
#include <vector>

namespace standin {

struct Enumeration {
    int32_t itemType = 0; // object type of the items (6 connections, 8 ... 16 objects); 0 parameters
    std::vector<int32_t> handles;
    std::vector<AdoCodeGen::RoutineParameter> parameters;
    size_t next = 0;
};

} // namespace standin
