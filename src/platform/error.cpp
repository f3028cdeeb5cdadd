#include "platform/error.h"

#include <new>

namespace vb {

VBError::VBError(int32_t number, std::string description, std::string source)
    : std::runtime_error(std::to_string(number) + ": " + description), number_(number),
      description_(std::move(description)), source_(std::move(source)) {}

VBError currentError() {
    try {
        throw;
    } catch (const VBError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return VBError(err::OutOfMemory, "Out of memory");
    } catch (const std::out_of_range& e) {
        return VBError(err::SubscriptOutOfRange, std::string("Subscript out of range: ") + e.what());
    } catch (const std::exception& e) {
        return VBError(err::InvalidProcedureCall, e.what());
    } catch (...) {
        return VBError(err::InvalidProcedureCall, "Unknown error");
    }
}

std::string numberColonDescription(const VBError& e) {
    return std::to_string(e.number()) + ":" + e.description();
}

std::string numberThenDescription(const VBError& e) {
    return std::to_string(e.number()) + e.description();
}

std::string numberDescriptionSource(const VBError& e) {
    return std::to_string(e.number()) + ", " + e.description() + ", " + e.source();
}

} // namespace vb
