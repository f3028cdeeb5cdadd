// The one place the Windows implementations of the ports are installed: the system's registry and
// the SourceSafe automation server. (The IDE's objects need no installing: the add-in is handed
// them at connection and adapts them there.)
#pragma once

#include <string>

namespace winports {

// Installs each port that has no implementation yet, so that a host that installed its own first
// (a test's SourceSafe under another ProgID) keeps it. The add-in's vss::createVSSDatabase then
// creates the server registered under sourceSafeProgId.
void install(const std::string& sourceSafeProgId = "SourceSafe");

} // namespace winports
