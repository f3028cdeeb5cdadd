// Variant: the subset of VB's Variant the add-in needs (node tags, late-bound arguments, lookups by
// name or index). Conversions follow VB: CLng rounds half to even, numeric text compares as a number.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace vb {

// Base of every object a Variant can hold (COM's IDispatch in the real platform).
class Object {
public:
    virtual ~Object() = default;
};

struct Null {
    bool operator==(const Null&) const = default;
};

class Variant {
public:
    Variant() = default;
    Variant(Null) : value_(Null{}) {}
    Variant(bool b) : value_(b) {}
    Variant(int32_t l) : value_(l) {}
    Variant(double d) : value_(d) {}
    Variant(std::string s) : value_(std::move(s)) {}
    Variant(const char* s) : value_(std::string(s)) {}
    Variant(std::shared_ptr<Object> o) : value_(std::move(o)) {}

    // Which of the VB types the value holds, for code that must say so to another runtime (COM).
    enum class Kind { Empty, Null, Boolean, Long, Double, String, Object };
    Kind kind() const { return static_cast<Kind>(value_.index()); }

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isNull() const { return std::holds_alternative<Null>(value_); }
    bool isString() const { return std::holds_alternative<std::string>(value_); }
    bool isObject() const { return std::holds_alternative<std::shared_ptr<Object>>(value_); }
    bool isNumeric() const;  // Boolean, Long, Double, or text that reads as a number

    // VB conversions; a value that cannot convert raises error 13 (type mismatch).
    int32_t toLong() const;   // CLng
    double toDouble() const;  // CDbl
    bool toBool() const;      // CBool (Empty and Null give False)
    std::string toString() const;  // CStr (Empty gives "", True gives "True")
    std::shared_ptr<Object> toObject() const;

    template <class T>
    std::shared_ptr<T> as() const { return std::dynamic_pointer_cast<T>(toObject()); }

    // VB's "=": numbers and numeric text compare as numbers, other text as text.
    bool equals(const Variant& other) const;

private:
    // The alternatives are in Kind's order.
    std::variant<std::monostate, Null, bool, int32_t, double, std::string, std::shared_ptr<Object>> value_;
};

// The number at the start of s as a decimal reader that stops at the first character that cannot
// continue a number reads it ("10pt" gives 10, "8.5" gives 8.5); nullopt when s starts with none.
std::optional<double> leadingNumber(const std::string& s);

// Rounds to the nearest whole number, a half going to the even neighbour (VB's CLng).
int32_t roundHalfEven(double d);

} // namespace vb
