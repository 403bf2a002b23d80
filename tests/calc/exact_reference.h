// Exact reference conversions that the differential, corpus and robustness tests judge the numeric text layer
// against. Nothing here shares code with calc/: the correctly rounded double of a decimal text comes from
// glibc's strtod (ties to even), the exact decimal expansion of a binary value from glibc's printf (which
// prints every digit exactly when asked for enough of them), and the calculator's own rules are written out
// again on decimal digit strings.
#pragma once

#include <algorithm>
#include <bit>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace reference {

// glibc's conversions follow the thread's locale and rounding mode; the tests change both, the reference must
// not notice.
class NeutralEnvironment {
public:
    NeutralEnvironment() : savedLocale_(uselocale(cLocale())), savedRounding_(std::fegetround()) {
        std::fesetround(FE_TONEAREST);
    }
    ~NeutralEnvironment() {
        std::fesetround(savedRounding_);
        uselocale(savedLocale_);
    }
    NeutralEnvironment(const NeutralEnvironment&) = delete;
    NeutralEnvironment& operator=(const NeutralEnvironment&) = delete;

private:
    static locale_t cLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c;
    }
    locale_t savedLocale_;
    int savedRounding_;
};

// A non-negative decimal value: its digits without leading or trailing zeros (empty for zero) and the decimal
// exponent of the first of them, so that digits "125" with exponent -1 is 0.125.
struct Decimal {
    std::string digits;
    std::int64_t exponent = 0;
    bool operator==(const Decimal&) const = default;
};

inline Decimal normalised(std::string digits, std::int64_t exponentOfFirst) {
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return {};
    }
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, exponentOfFirst - static_cast<std::int64_t>(first)};
}

// |v| exactly, for a finite v. v = m 2^q with m odd: for q >= 0 it is an integer below 2^(bits(m) + q), and
// otherwise v = m 5^-q / 10^-q, whose significant digits are those of m 5^-q < 2^bits(m) 5^-q. Asking printf
// for two digits beyond that bound leaves nothing to round.
inline Decimal exactDecimal(long double v) {
    NeutralEnvironment neutral;
    v = std::fabs(v);
    if (v == 0) {
        return {};
    }
    int e2 = 0;
    const long double fraction = std::frexp(v, &e2);
    auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    int q = e2 - 64;
    const int zeros = std::countr_zero(m);
    m >>= zeros;
    q += zeros;
    const int bits = std::bit_width(m);
    const double bound = q >= 0 ? (bits + q) * std::log10(2.0) : bits * std::log10(2.0) - q * std::log10(5.0);
    const int precision = static_cast<int>(bound) + 2;
    std::string text(static_cast<std::size_t>(precision) + 32, '\0');
    text.resize(static_cast<std::size_t>(std::snprintf(text.data(), text.size(), "%.*Le", precision, v)));
    std::string digits;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits += text[i];
        }
    }
    return normalised(std::move(digits), std::strtoll(text.c_str() + i + 1, nullptr, 10));
}

// The first n significant digits of |v|, cut rather than rounded. printf rounds correctly at the 41st digit,
// which can change one of the first n only through a carry across digits n + 1 to 41, and those then all read
// 0; only then is the whole expansion needed.
inline Decimal leadingDigits(long double v, std::size_t n) {
    NeutralEnvironment neutral;
    v = std::fabs(v);
    if (v == 0) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.40Le", v);
    std::string digits;
    const char* c = text;
    for (; *c != 'e'; ++c) {
        if (*c >= '0' && *c <= '9') {
            digits += *c;
        }
    }
    if (digits.find_first_not_of('0', n) == std::string::npos) {
        Decimal exact = exactDecimal(v);
        exact.digits.resize(std::min(exact.digits.size(), n));
        return normalised(exact.digits, exact.exponent);
    }
    digits.resize(n);
    return normalised(std::move(digits), std::strtoll(c + 1, nullptr, 10));
}

inline bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The full-width forms of GB2312 mapped to ASCII, written out from the character table.
inline std::string halfWidth(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += text[i];
            continue;
        }
        if (i + 1 == text.size()) {
            break;
        }
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (lead == 0xA1 && trail == 0xA1) {
            out += ' ';
        } else if (lead == 0xA1 && trail == 0xAB) {
            out += '~';
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            out += '*';
        } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out += static_cast<char>(trail - 0x80);
        } else {
            out += static_cast<char>(lead);
            out += static_cast<char>(trail);
        }
    }
    return out;
}

// The longest prefix of [+|-] (digits ["." digits*] | "." digits) [(e|E|d|D) [+|-] digits] after the leading
// blanks, or nothing when there is no mantissa digit.
inline std::optional<std::string_view> numberAtStart(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    const std::size_t start = i;
    const auto digitsFrom = [&](std::size_t at) {
        std::size_t end = at;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
        }
        return end - at;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t integerDigits = digitsFrom(i);
    i += integerDigits;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        fractionDigits = digitsFrom(i + 1);
        if (integerDigits + fractionDigits > 0) {
            i += 1 + fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (const std::size_t exponentDigits = digitsFrom(j); exponentDigits > 0) {
            i = j + exponentDigits;
        }
    }
    return text.substr(start, i - start);
}

// The magnitude of a number that numberAtStart matched. An exponent beyond 10^15 is held at 10^15: such a
// value is far outside the double range either way.
inline Decimal decimalOfNumber(std::string_view number) {
    std::size_t i = (!number.empty() && (number[0] == '+' || number[0] == '-')) ? 1 : 0;
    std::string digits;
    std::int64_t integerDigits = 0;
    for (; i < number.size() && isDigit(number[i]); ++i, ++integerDigits) {
        digits += number[i];
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && isDigit(number[i]); ++i) {
            digits += number[i];
        }
    }
    std::int64_t exponent = 0;
    if (i < number.size()) {
        ++i;
        const bool negative = number[i] == '-';
        if (number[i] == '+' || number[i] == '-') {
            ++i;
        }
        constexpr std::int64_t limit = 1'000'000'000'000'000;
        for (; i < number.size(); ++i) {
            exponent = std::min(limit, exponent * 10 + (number[i] - '0'));
        }
        exponent = negative ? -exponent : exponent;
    }
    return normalised(std::move(digits), integerDigits - 1 + exponent);
}

// glibc rounds exact ties to even; the calculator takes the neighbour nearer zero. A tie is the midpoint of
// the magnitude and the double below it (above it, the magnitude already is the one nearer zero). The
// midpoint needs 54 significant bits and, above DBL_MAX, the exponent 1023, so x87 long double holds it
// exactly; strtold finds the candidates cheaply and the exact expansions decide.
inline double towardZeroOnTie(double nearestEven, std::string_view asciiNumber) {
    if (nearestEven == 0 || std::isnan(nearestEven)) {
        return nearestEven;
    }
    NeutralEnvironment neutral;
    const double magnitude = std::fabs(nearestEven);
    const double below = std::isinf(magnitude) ? DBL_MAX : std::nextafter(magnitude, 0.0);
    const long double midpoint = std::isinf(magnitude)
                                     ? static_cast<long double>(DBL_MAX) + std::ldexp(1.0L, 970)
                                     : (static_cast<long double>(magnitude) + below) / 2;
    const std::string text(asciiNumber);
    if (std::fabs(std::strtold(text.c_str(), nullptr)) != midpoint ||
        decimalOfNumber(asciiNumber) != exactDecimal(midpoint)) {
        return nearestEven;
    }
    return std::copysign(below, nearestEven);
}

// What the calculator must read from a text: textToNumber with fullWidth, readNumber without.
inline double readReference(std::string_view text, bool fullWidth = true) {
    const std::string mapped = fullWidth ? halfWidth(text) : std::string(text);
    const auto number = numberAtStart(mapped);
    if (!number) {
        return 0.0;
    }
    std::string ascii(*number);
    for (char& c : ascii) {
        if (c == 'd' || c == 'D') {
            c = 'e';
        }
    }
    NeutralEnvironment neutral;
    return towardZeroOnTie(std::strtod(ascii.c_str(), nullptr), ascii);
}

// Adds one unit at the last of `keep` leading digits; returns false when the carry runs out of the first one.
inline bool roundUpAt(std::string& digits, std::size_t keep) {
    digits.resize(keep);
    for (std::size_t i = keep; i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return true;
        }
        digits[i] = '0';
    }
    return false;
}

// The result box text of x, from its exact decimal expansion: 17 digits (half up on the 18th), then 13 (half
// up on the 14th of those), positional for decimal exponents -4 to 12.
inline std::string numberText(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const bool negative = (bits >> 63) != 0;
    const std::string sign = negative ? "-" : "";
    if (((bits >> 52) & 0x7FF) == 0x7FF) {
        const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        if (fraction == 0) {
            return sign + "1.#INF";
        }
        if (bits == 0xFFF8'0000'0000'0000) {
            return "-1.#IND";
        }
        return sign + ((fraction >> 51) != 0 ? "1.#QNAN" : "1.#SNAN");
    }
    if (x == 0) {
        return "0";
    }
    const Decimal leading = leadingDigits(x, 18);
    std::string digits = leading.digits;
    std::int64_t exponent = leading.exponent;
    digits.resize(std::max<std::size_t>(digits.size(), 18), '0');
    const bool up17 = digits[17] >= '5';
    digits.resize(17);
    if (up17 && !roundUpAt(digits, 17)) {
        digits = "1";
        ++exponent;
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    const bool up13 = digits.size() >= 14 && digits[13] >= '5';
    digits.resize(std::min<std::size_t>(digits.size(), 13));
    if (up13 && !roundUpAt(digits, 13)) {
        digits = "1";
        ++exponent;
    }
    digits.resize(13, '0');
    std::string text;
    std::string suffix;
    if (exponent < -4 || exponent >= 13) {
        text = digits.substr(0, 1) + "." + digits.substr(1);
        std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
        suffix = std::string("e") + (exponent < 0 ? "-" : "+") +
                 std::string(3 - std::min<std::size_t>(3, magnitude.size()), '0') + magnitude;
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        text = digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
    } else {
        text = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return sign + text + suffix;
}

inline Decimal scaledByPowerOfTen(Decimal d, std::int64_t k) {
    if (!d.digits.empty()) {
        d.exponent += k;
    }
    return d;
}

inline Decimal sum(const Decimal& a, const Decimal& b) {
    if (a.digits.empty() || b.digits.empty()) {
        return a.digits.empty() ? b : a;
    }
    const auto lowest = [](const Decimal& d) {
        return d.exponent - static_cast<std::int64_t>(d.digits.size()) + 1;
    };
    const std::int64_t low = std::min(lowest(a), lowest(b));
    const std::int64_t high = std::max(a.exponent, b.exponent) + 1; // room for a carry
    std::string digits(static_cast<std::size_t>(high - low + 1), '0');
    int carry = 0;
    for (std::int64_t position = low; position <= high; ++position) {
        int total = carry;
        for (const Decimal* d : {&a, &b}) {
            const std::int64_t index = d->exponent - position;
            if (index >= 0 && index < static_cast<std::int64_t>(d->digits.size())) {
                total += d->digits[static_cast<std::size_t>(index)] - '0';
            }
        }
        digits[static_cast<std::size_t>(high - position)] = static_cast<char>('0' + total % 10);
        carry = total / 10;
    }
    return normalised(std::move(digits), high);
}

// The long double nearest to d: what an x87 operation with a 64-bit significand stores for that exact value.
inline long double nearestLongDouble(const Decimal& d) {
    if (d.digits.empty()) {
        return 0.0L;
    }
    NeutralEnvironment neutral;
    const std::string text = "." + d.digits + "e" + std::to_string(d.exponent + 1);
    return std::strtold(text.c_str(), nullptr);
}

// roundToPlaces written from its steps, every x87 operation replaced by the exact decimal result and the
// correctly rounded long double of it.
inline double roundedToPlaces(double x, std::int32_t places) {
    if (x == 0 || std::isnan(x) || std::isinf(x)) {
        return x; // an infinite b splits into i = b and f = 0, and i / P or i * P stays infinite
    }
    NeutralEnvironment neutral;
    const auto asNumber = [](const Decimal& d) { return static_cast<double>(nearestLongDouble(d)); };
    static const Decimal bias = exactDecimal(1e-12);
    const Decimal a = exactDecimal(x);
    double b = 0;
    if (places == 0) {
        b = asNumber(sum(a, bias));
    } else {
        const double y = asNumber(scaledByPowerOfTen(a, places)); // a * P or a / P
        if (std::isinf(y)) {
            return std::copysign(y, x);
        }
        b = asNumber(sum(exactDecimal(y), bias));
    }
    const Decimal exactB = exactDecimal(b);
    // i: the digits before the point; f >= 0.5 exactly when the first digit after it is 5 or more.
    Decimal i;
    if (exactB.exponent >= 0) {
        i = normalised(exactB.digits.substr(
                           0, static_cast<std::size_t>(std::min<std::int64_t>(
                                  exactB.exponent + 1, static_cast<std::int64_t>(exactB.digits.size())))),
                       exactB.exponent);
    }
    const std::int64_t firstFractionDigit = exactB.exponent + 1;
    if (firstFractionDigit >= 0 && firstFractionDigit < static_cast<std::int64_t>(exactB.digits.size()) &&
        exactB.digits[static_cast<std::size_t>(firstFractionDigit)] >= '5') {
        i = sum(i, Decimal{"1", 0});
    }
    const double r = static_cast<double>(nearestLongDouble(scaledByPowerOfTen(i, -places)));
    return std::signbit(x) ? -r : r;
}

// For failure messages: a text with its bytes outside printable ASCII escaped, a long one shortened in the
// middle.
inline std::string describeText(std::string_view text) {
    std::string out = "\"";
    const auto append = [&](std::string_view part) {
        for (const char c : part) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
                out += c;
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                out += escaped;
            }
        }
    };
    if (text.size() <= 240) {
        append(text);
    } else {
        append(text.substr(0, 100));
        out += "...(" + std::to_string(text.size() - 200) + " bytes)...";
        append(text.substr(text.size() - 100));
    }
    return out + "\"";
}

} // namespace reference
