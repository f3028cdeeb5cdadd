#include "Identifier.h"

namespace standin::Identifier {

std::string quoted(std::string_view quote, std::string_view name) {
    if (quote.empty())
        throw Unquotable();
    std::string out(quote);
    for (size_t i = 0; i < name.size(); ++i) {
        if (name.compare(i, quote.size(), quote) == 0)
            out += quote; // doubled: the quote stays part of the name
        out += name[i];
    }
    return out += quote;
}

} // namespace standin::Identifier
