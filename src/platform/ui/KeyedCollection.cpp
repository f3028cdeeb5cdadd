#include "platform/ui/KeyedCollection.h"

#include "platform/error.h"
#include "platform/ui/UIErrors.h"
#include "platform/variant.h"

#include <cctype>

namespace ui::keyed {

void raiseNotUnique() { throw vb::VBError(vb::err::KeyNotUnique, "Key is not unique in collection"); }

void raiseNotFound() { throw vb::VBError(vb::err::ElementNotFound, "Element not found"); }

void raiseInvalidKey() { throw vb::VBError(err::InvalidKey, "Invalid key"); }

void raiseIndexOutOfBounds() { throw vb::VBError(err::IndexOutOfBounds, "Index out of bounds"); }

// A key that reads as a number could not be told from an index, so the controls refuse it.
bool isNumericKey(const std::string& key) {
    const auto first = key.find_first_not_of(' ');
    // No number begins with a letter; the common "K123" keys need no parsing.
    if (first != std::string::npos && std::isalpha(static_cast<unsigned char>(key[first]))) return false;
    return vb::Variant(key).isNumeric();
}

} // namespace ui::keyed
