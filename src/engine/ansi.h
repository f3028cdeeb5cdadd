// Text crosses the engine boundary in the system ANSI code page; inside the add-in it is UTF-8.
#pragma once

#include <string>
#include <vector>

namespace nimb::ansi {

std::string toAnsi(const std::string& utf8);
std::string fromAnsi(const std::string& ansi);
// out = fromAnsi of the text [begin, end), in out's own storage where the conversion allows: the
// wrappers read hundreds of thousands of records into the same few strings.
void assignFromAnsi(std::string& out, const char* begin, const char* end);

// A string handed to the engine as a buffer it may change in place but never lengthen; text()
// reads back what the engine left, up to the first NUL inside the buffer.
class InOutBuffer {
public:
    explicit InOutBuffer(const std::string& utf8);
    char* data() { return bytes_.data(); }
    std::string text() const;

private:
    std::vector<char> bytes_;
};

} // namespace nimb::ansi
