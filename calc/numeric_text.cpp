#include "calc/numeric_text.h"

#include "calc/binary_to_decimal.h"
#include "calc/decimal_to_binary.h"

#include <bit>
#include <cmath>
#include <limits>
#include <optional>

namespace calc {

namespace {

using detail::DecimalNumber;

// What a character of the text counts as after the full-width mapping. Two-byte characters that have no
// single-byte counterpart can never be part of a number or a blank; they all read as this one value.
constexpr int kOtherCharacter = 0x100;
constexpr int kEnd = -1;

// The single byte a two-byte character stands for, or kOtherCharacter when it is kept as it is.
int halfWidthOf(unsigned char lead, unsigned char trail) {
    if (lead == 0xA1) {
        switch (trail) {
        case 0xA1:
            return ' '; // ideographic space
        case 0xAB:
            return '~'; // full-width tilde
        case 0xEE:
        case 0xEF:
            return '*'; // white star, black star
        default:
            return kOtherCharacter;
        }
    }
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
        return trail - 0x80; // the full-width forms of "!" (A3 A1) to "~" (A3 FE)
    }
    return kOtherCharacter;
}

// The characters of a text as the number reader sees them, one at a time: bytes as they stand...
class PlainCharacters {
public:
    explicit PlainCharacters(std::string_view text) : text_(text) {}
    int current() const { return at_ < text_.size() ? static_cast<unsigned char>(text_[at_]) : kEnd; }
    void advance() { ++at_; }
    std::size_t position() const { return at_; }
    void seek(std::size_t position) { at_ = position; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// ...or with the full-width mapping applied on the way, so that no mapped copy of the text is made. A
// byte of 0x80 or above takes the byte after it into one character; one that ends the text ends the walk.
class HalfWidthCharacters {
public:
    explicit HalfWidthCharacters(std::string_view text) : text_(text) { decode(); }
    int current() const { return current_; }
    void advance() {
        at_ += width_;
        // Digits come in runs of single bytes: those need none of decode()'s cases.
        if (width_ == 1 && at_ < text_.size() && static_cast<unsigned char>(text_[at_]) < 0x80) {
            current_ = static_cast<unsigned char>(text_[at_]);
            return;
        }
        decode();
    }
    std::size_t position() const { return at_; }
    void seek(std::size_t position) {
        at_ = position;
        decode();
    }

private:
    void decode() {
        width_ = 1;
        if (at_ >= text_.size()) {
            current_ = kEnd;
            return;
        }
        const auto lead = static_cast<unsigned char>(text_[at_]);
        if (lead < 0x80) {
            current_ = lead;
        } else if (at_ + 1 < text_.size()) {
            current_ = halfWidthOf(lead, static_cast<unsigned char>(text_[at_ + 1]));
            width_ = 2;
        } else {
            current_ = kEnd;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t width_ = 1;
    int current_ = kEnd;
};

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}
bool isBlank(int c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// Gathers the significant digits of a mantissa: leading zeros are skipped, and zeros are held back until
// a nonzero digit follows them, so that trailing zeros cost nothing.
class SignificantDigits {
public:
    explicit SignificantDigits(DecimalNumber& number) : number_(number) {}

    void add(int digit) {
        if (digit == 0) {
            if (started_) {
                ++pendingZeros_;
            }
            return;
        }
        started_ = true;
        if (pendingZeros_ != 0) {
            number_.addZeros(pendingZeros_);
            pendingZeros_ = 0;
        }
        number_.add(digit);
    }

    bool started() const { return started_; }

    // Completes the number, given the power of ten of its first digit.
    void finish(std::int64_t lead) {
        number_.setExponent(lead - static_cast<std::int64_t>(number_.count()) + 1);
    }

private:
    DecimalNumber& number_;
    std::size_t pendingZeros_ = 0;
    bool started_ = false;
};

// Exponents beyond this are all the same: the value has long left the range of a double, even with a
// mantissa of millions of digits.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 50;

// Reads sign, mantissa and exponent from where `chars` stands into `magnitude`; false when there is no
// mantissa digit at all.
template <class Characters> bool scanNumber(Characters& chars, bool& negative, DecimalNumber& magnitude) {
    if (chars.current() == '+' || chars.current() == '-') {
        negative = chars.current() == '-';
        chars.advance();
    }

    SignificantDigits digits(magnitude);
    bool hasMantissa = false; // at least one mantissa digit, possibly all zeros
    // The power of ten of the first significant digit, counted from the digits around the point.
    std::int64_t integerDigitsFromFirst = 0; // integer-part digits from the first significant one on
    std::int64_t leadingFractionZeros = 0;
    for (; isDigit(chars.current()); chars.advance()) {
        hasMantissa = true;
        digits.add(chars.current() - '0');
        if (digits.started()) {
            ++integerDigitsFromFirst;
        }
    }
    const bool startedInInteger = digits.started();
    if (chars.current() == '.') {
        chars.advance();
        for (; isDigit(chars.current()); chars.advance()) {
            hasMantissa = true;
            digits.add(chars.current() - '0');
            if (!digits.started()) {
                ++leadingFractionZeros;
            }
        }
    }
    if (!hasMantissa) {
        return false;
    }
    std::int64_t lead = startedInInteger ? integerDigitsFromFirst - 1 : -(leadingFractionZeros + 1);

    const int letter = chars.current();
    if (letter == 'e' || letter == 'E' || letter == 'd' || letter == 'D') {
        chars.advance();
        bool negativeExponent = false;
        if (chars.current() == '+' || chars.current() == '-') {
            negativeExponent = chars.current() == '-';
            chars.advance();
        }
        // Without a digit here the letter is not part of the number, and the exponent stays 0.
        std::int64_t exponent = 0;
        for (; isDigit(chars.current()); chars.advance()) {
            if (exponent < kExponentLimit) {
                exponent = exponent * 10 + (chars.current() - '0');
            }
        }
        lead += negativeExponent ? -exponent : exponent;
    }
    digits.finish(lead);
    return true;
}

template <class Characters> double readPrefix(Characters chars) {
    while (isBlank(chars.current())) {
        chars.advance();
    }
    const std::size_t start = chars.position();
    bool negative = false;
    // The first reading only counts the digits after the 19th; in the rare case that the exact
    // comparison must decide, the text is read once more, keeping them.
    DecimalNumber counted(false);
    if (!scanNumber(chars, negative, counted)) {
        return 0.0; // not a number at all, which reads as +0 whatever the sign
    }
    std::optional<double> magnitude = detail::decimalToDoubleQuickly(counted);
    if (!magnitude) {
        if (counted.count() > detail::kLeadingDigits) {
            DecimalNumber kept(true);
            chars.seek(start);
            scanNumber(chars, negative, kept);
            magnitude = detail::decimalToDoubleExactly(kept);
        } else {
            magnitude = detail::decimalToDoubleExactly(counted);
        }
    }
    return negative ? -*magnitude : *magnitude;
}

// The steps of the formulas and of the rounding compute with the x87 64-bit significand; a step's result
// is stored as a double. This is that store.
double asNumber(long double v) {
    return static_cast<double>(v);
}

constexpr double kRoundingBias = 1e-12;
constexpr double kRoundingThreshold = 0.5;

// i + 1 when the fraction of b reaches one half, else i, where i is b truncated toward zero. Both parts
// are exact; an infinite b is its own integer part.
long double roundedIntegerPart(double b) {
    if (std::isinf(b)) {
        return b;
    }
    const double i = std::trunc(b);
    const double f = b - i;
    return f >= kRoundingThreshold ? static_cast<long double>(i) + 1 : i;
}

// The default NaN: sign and quiet bit set, every other fraction bit clear.
constexpr std::uint64_t kDefaultNaN = 0xFFF8000000000000;

std::string specialText(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const std::string sign = std::signbit(x) ? "-" : "";
    if (std::isinf(x)) {
        return sign + "1.#INF";
    }
    if (bits == kDefaultNaN) {
        return "-1.#IND";
    }
    const bool quiet = (bits & (std::uint64_t{1} << 51)) != 0;
    return sign + (quiet ? "1.#QNAN" : "1.#SNAN");
}

constexpr std::uint64_t kTenTo12 = 1000000000000;
constexpr std::uint64_t kTenTo13 = 10000000000000;
constexpr std::uint64_t kTenTo16 = 10000000000000000;
constexpr std::uint64_t kTenTo17 = 100000000000000000;

} // namespace

double textToNumber(std::string_view text) {
    return readPrefix(HalfWidthCharacters(text));
}

double readNumber(std::string_view text) {
    return readPrefix(PlainCharacters(text));
}

std::string toHalfWidth(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            result += text[at];
        } else if (at + 1 < text.size()) {
            const int mapped = halfWidthOf(lead, static_cast<unsigned char>(text[at + 1]));
            if (mapped == kOtherCharacter) {
                result += text.substr(at, 2);
            } else {
                result += static_cast<char>(mapped);
            }
            ++at;
        }
    }
    return result;
}

double roundToPlaces(double x, std::int32_t places) {
    // Zeros, NaNs and infinities come back unchanged; an infinity would otherwise meet an infinite power
    // of ten at |places| >= 309 and turn into NaN.
    if (x == 0 || std::isnan(x) || std::isinf(x)) {
        return x;
    }
    const bool negative = std::signbit(x);
    const double a = std::fabs(x);
    long double r = 0;
    if (places > 0) {
        const double p = detail::powerOfTen(places);
        const double y = asNumber(static_cast<long double>(a) * p);
        const double b = asNumber(static_cast<long double>(y) + kRoundingBias);
        // A scaled value beyond the double range stays infinite; dividing it back by an infinite power
        // of ten (places >= 309) would make it NaN instead.
        r = std::isinf(y) ? y : roundedIntegerPart(b) / p;
    } else if (places == 0) {
        const double b = asNumber(static_cast<long double>(a) + kRoundingBias);
        r = roundedIntegerPart(b);
    } else {
        // Negated in 64 bits: -INT32_MIN does not fit in 32.
        const double p = detail::powerOfTen(-static_cast<std::int64_t>(places));
        const double y = asNumber(static_cast<long double>(a) / p);
        const double b = asNumber(static_cast<long double>(y) + kRoundingBias);
        const long double i = roundedIntegerPart(b);
        // 0 x infinity would be NaN: a power of ten beyond the double range rounds every double to 0.
        r = i == 0 ? 0 : i * p;
    }
    return asNumber(negative ? -r : r);
}

std::string numberToText(double x) {
    if (!std::isfinite(x)) {
        return specialText(x);
    }
    if (x == 0) {
        return "0";
    }

    // Step 1: the exact expansion cut after 18 significant digits, half up into the 17th.
    auto [digits, exponent] = detail::leadingDigits(std::fabs(x));
    std::uint64_t d17 = digits / 10 + (digits % 10 >= 5 ? 1 : 0);
    if (d17 == kTenTo17) {
        d17 = kTenTo16;
        ++exponent;
    }
    // Step 2: those 17 digits, half up from the 14th into the 13th.
    std::uint64_t d13 = d17 / 10000 + ((d17 / 1000) % 10 >= 5 ? 1 : 0);
    if (d13 == kTenTo13) {
        d13 = kTenTo12;
        ++exponent;
    }

    // Step 3: the positional or the exponent form of d1.d2...d13 x 10^exponent.
    const std::string d = std::to_string(d13); // exactly 13 digits
    std::string text = std::signbit(x) ? "-" : "";
    const bool exponentForm = exponent < -4 || exponent >= 13;
    std::string mantissa;
    if (exponentForm) {
        mantissa = d.substr(0, 1) + "." + d.substr(1);
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        mantissa = d.substr(0, integerDigits) + "." + d.substr(integerDigits);
    } else {
        mantissa = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + d;
    }
    // Trailing zeros of the fraction go, and the point with them when nothing follows it.
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.back() == '.') {
        mantissa.pop_back();
    }
    text += mantissa;
    if (exponentForm) {
        const std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
        text += exponent < 0 ? "e-" : "e+";
        text += std::string(magnitude.size() < 3 ? 3 - magnitude.size() : 0, '0') + magnitude;
    }
    return text;
}

double squareRoot(double x) {
    if (std::isnan(x)) {
        return x;
    }
    if (x < 0) {
        return std::bit_cast<double>(kDefaultNaN);
    }
    return asNumber(std::sqrt(static_cast<long double>(x)));
}

double arcTangent(double x) {
    if (std::isnan(x)) {
        return x;
    }
    // The x87 instruction FPATAN computes atan(st1 / st0) with the 64-bit significand; with st0 = 1 it is
    // the arc tangent of x itself, and +-infinity gives +-pi/2.
    long double result;
    __asm__("fpatan" : "=t"(result) : "0"(1.0L), "u"(static_cast<long double>(x)) : "st(1)");
    return asNumber(result);
}

} // namespace calc
