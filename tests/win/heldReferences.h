// What a test IDE checks when an add-in is done with it: which of its objects someone else still
// holds, each kept once by the IDE itself.
#pragma once

#include "platform/win/com/ComPtr.h"

#include <string>
#include <utility>
#include <vector>

namespace wintest {

using KeptObjects = std::vector<std::pair<std::string, com::ComPtr<IUnknown>>>;

// "VBE 1, control 2": the objects held by others, with the number of their references; empty when
// there is none.
inline std::string heldByOthers(const KeptObjects& objects) {
    std::string held;
    for (const auto& [name, object] : objects) {
        object->AddRef();
        const ULONG others = object->Release() - 1;
        if (others > 0) held += (held.empty() ? "" : ", ") + name + " " + std::to_string(others);
    }
    return held;
}

} // namespace wintest
