#include "platform/variant.h"

#include "platform/error.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace vb {

namespace {

VBError typeMismatch() { return VBError(err::TypeMismatch, "Type mismatch"); }
VBError invalidUseOfNull() { return VBError(err::InvalidUseOfNull, "Invalid use of Null"); }

std::string trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

// The whole text as a number, or nullopt when anything but a number stands in it. A sign may lead;
// the words from_chars also reads ("inf", "nan") are no numbers to VB.
std::optional<double> wholeNumber(const std::string& s) {
    std::string t = trimmed(s);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    const size_t first = !t.empty() && t[0] == '-' ? 1 : 0;
    if (first == t.size() || std::isalpha(static_cast<unsigned char>(t[first]))) return std::nullopt;
    double d = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
    if (ec != std::errc() || p != t.data() + t.size()) return std::nullopt;
    return d;
}

std::string formatDouble(double d) {
    if (d == std::floor(d) && std::fabs(d) < 1e15) return std::to_string(static_cast<long long>(d));
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, d);
    return ec == std::errc() ? std::string(buf, p) : std::string("0");
}

} // namespace

std::optional<double> leadingNumber(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digitsStart = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    size_t intDigits = i - digitsStart;
    size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        size_t f = i + 1;
        while (f < s.size() && std::isdigit(static_cast<unsigned char>(s[f]))) ++f;
        fracDigits = f - i - 1;
        if (intDigits + fracDigits > 0) i = f;
    }
    if (intDigits + fracDigits == 0) return std::nullopt;
    std::string number = s.substr(start, i - start);
    if (!number.empty() && number[0] == '+') number.erase(0, 1);
    double d = 0;
    std::from_chars(number.data(), number.data() + number.size(), d);
    return d;
}

int32_t roundHalfEven(double d) {
    if (!std::isfinite(d) || d >= 2147483647.5 || d < -2147483648.5) {
        throw VBError(6, "Overflow");
    }
    return static_cast<int32_t>(std::nearbyint(d));  // default rounding mode: to nearest, ties to even
}

bool Variant::isNumeric() const {
    if (std::holds_alternative<bool>(value_) || std::holds_alternative<int32_t>(value_) ||
        std::holds_alternative<double>(value_))
        return true;
    if (auto s = std::get_if<std::string>(&value_)) return wholeNumber(*s).has_value();
    return false;
}

double Variant::toDouble() const {
    if (isEmpty()) return 0;
    if (isNull()) throw invalidUseOfNull();
    if (auto b = std::get_if<bool>(&value_)) return *b ? -1 : 0;
    if (auto l = std::get_if<int32_t>(&value_)) return *l;
    if (auto d = std::get_if<double>(&value_)) return *d;
    if (auto s = std::get_if<std::string>(&value_)) {
        if (auto n = wholeNumber(*s)) return *n;
        if (trimmed(*s) == "True") return -1;
        if (trimmed(*s) == "False") return 0;
    }
    throw typeMismatch();
}

int32_t Variant::toLong() const {
    if (auto l = std::get_if<int32_t>(&value_)) return *l;
    return roundHalfEven(toDouble());
}

bool Variant::toBool() const {
    if (isEmpty() || isNull()) return false;
    return toDouble() != 0;
}

std::string Variant::toString() const {
    if (isEmpty()) return {};
    if (auto b = std::get_if<bool>(&value_)) return *b ? "True" : "False";
    if (auto l = std::get_if<int32_t>(&value_)) return std::to_string(*l);
    if (auto d = std::get_if<double>(&value_)) return formatDouble(*d);
    if (auto s = std::get_if<std::string>(&value_)) return *s;
    if (isNull()) throw invalidUseOfNull();
    throw typeMismatch();
}

std::shared_ptr<Object> Variant::toObject() const {
    if (auto o = std::get_if<std::shared_ptr<Object>>(&value_)) return *o;
    throw typeMismatch();
}

bool Variant::equals(const Variant& other) const {
    if (isObject() || other.isObject()) return isObject() && other.isObject() && toObject() == other.toObject();
    if (isNull() || other.isNull()) return false;
    if (isString() && other.isString()) return toString() == other.toString();
    if (isEmpty() || other.isEmpty()) {  // Empty is "" beside text and 0 beside anything else
        const Variant& v = isEmpty() ? other : *this;
        return v.isString() ? v.toString().empty() : v.toDouble() == 0;
    }
    if (isNumeric() && other.isNumeric()) return toDouble() == other.toDouble();
    return toString() == other.toString();
}

} // namespace vb
