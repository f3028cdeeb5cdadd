#include "AbiStrings.h"

#include <algorithm>
#include <cstring>

namespace standin::AbiStrings {

int32_t copy(char* buffer, int32_t size, std::string_view text) {
    if (!buffer || size < 1)
        return 0;
    size_t count = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int32_t>(count);
}

std::string read(const char* text) {
    return text ? std::string(text) : std::string();
}

} // namespace standin::AbiStrings
