// Where there are no Win32 windows there is no real-windows mode (host/win/RealWindowSession.cpp
// is the Windows one).
#include "RealWindows.h"

#include "HostError.h"

namespace host {

std::unique_ptr<RealWindows> startRealWindows(Machine&, HostUser&, const std::string&) {
    throw HostError("--windows needs Windows (nimbide.exe --com --windows, under wine64 here): this platform shows no real windows");
}

} // namespace host
