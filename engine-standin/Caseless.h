// Caseless: text compared as SQL names, keys of connection strings and driver files are, without
// regard to letter case.
#pragma once

#include <string>

namespace standin {

std::string upper(std::string text);
bool sameCaseless(const std::string& a, const std::string& b);
bool startsCaseless(const std::string& text, const std::string& prefix);

} // namespace standin
