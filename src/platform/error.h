// VBError: the one exception type of the add-in and its platform, carrying what VB's Err object
// carries (number, description, source). Foreign C++ exceptions are turned into VBError at the
// boundaries where VB code would have seen a runtime error.
#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

namespace vb {

class VBError : public std::runtime_error {
public:
    VBError(int32_t number, std::string description, std::string source = {});

    int32_t number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }

private:
    int32_t number_;
    std::string description_;
    std::string source_;
};

// Runtime error numbers the platform raises, as the VB runtime numbers them.
namespace err {
constexpr int32_t OutOfMemory = 7;
constexpr int32_t SubscriptOutOfRange = 9;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t FileNotFound = 53;
constexpr int32_t ObjectVariableNotSet = 91;
constexpr int32_t InvalidUseOfNull = 94;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t InvalidProcedureCall = 5;
constexpr int32_t ObjectDoesNotSupport = 438;
constexpr int32_t EntryPointNotFound = 453;
constexpr int32_t CancelError = 32755;
constexpr int32_t ElementNotFound = 35601;
constexpr int32_t KeyNotUnique = 35602;
} // namespace err

// The error currently being handled, as a VBError: a VBError passes unchanged, any other exception
// becomes the runtime error VB would have raised for it. Call only inside a catch block.
VBError currentError();

// The texts the add-in's handlers show for an error.
std::string numberColonDescription(const VBError& e);       // "91:Object variable not set"
std::string numberThenDescription(const VBError& e);        // "91Object variable not set"
std::string numberDescriptionSource(const VBError& e);      // "91, Object variable not set, nimbvbadd"

} // namespace vb
