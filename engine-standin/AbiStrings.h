// AbiStrings: text across the C boundary. Out-strings are caller buffers of a known size that the
// engine must never write past; in-strings may be null pointers, which read as empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin::AbiStrings {

// Writes at most size - 1 characters of text and a NUL into buffer and returns how many characters
// it wrote; a null buffer or a size below 1 gets nothing and gives 0. A longer text is cut.
int32_t copy(char* buffer, int32_t size, std::string_view text);

std::string read(const char* text);

} // namespace standin::AbiStrings
