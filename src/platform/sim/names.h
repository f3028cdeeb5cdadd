// Name comparison and caption helpers shared by the simulated platform (Windows compares ProgIDs,
// registry keys, paths and VB identifiers without regard to ASCII letter case).
#pragma once

#include <string>
#include <vector>

namespace sim::names {

bool equalNoCase(const std::string& a, const std::string& b);
std::string lower(std::string s);
// The caption without '&' accelerator marks ("&&" stays one '&').
std::string withoutAccelerators(const std::string& caption);
// s cut at every sep; "" gives one empty part.
std::vector<std::string> split(const std::string& s, char sep);

} // namespace sim::names
