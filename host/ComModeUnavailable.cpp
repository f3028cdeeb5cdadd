// Where there is no COM there is no COM mode (host/win/ComSession.cpp is the Windows one).
#include "ComMode.h"

#include "HostError.h"

namespace host {

std::unique_ptr<ComMode> startComMode(Machine&) {
    throw HostError("--com needs Windows (nimbide.exe, under wine64 here): this platform has no COM");
}

} // namespace host
