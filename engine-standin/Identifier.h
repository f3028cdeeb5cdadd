// Identifier: a name made an identifier in SQL text. A name never goes into SQL as it is: without
// the driver's quote character it could be read as SQL of its own, so the engine refuses to name it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace standin {

// The driver reports no identifier quote: the name cannot be written into SQL.
struct Unquotable : std::runtime_error {
    Unquotable() : std::runtime_error("the driver cannot quote names") {}
};

namespace Identifier {

// name between quote characters, embedded quotes doubled; Unquotable when quote is empty.
std::string quoted(std::string_view quote, std::string_view name);

} // namespace Identifier

} // namespace standin
