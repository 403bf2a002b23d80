#include "calc/numeric_text.h"

#include "calc/binary_to_decimal.h"
#include "calc/decimal_to_binary.h"

#include <bit>
#include <cmath>
#include <cstring>
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
    std::string_view ahead() const { return {text_.data() + at_, text_.size() - at_}; }
    void skipBytes(std::size_t count) { at_ += count; }

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
    // The bytes from the current character on, and a step over `count` of them. Only bytes below 0x80
    // may be stepped over this way: those are single-byte characters, which the mapping leaves alone.
    std::string_view ahead() const { return {text_.data() + at_, text_.size() - at_}; }
    void skipBytes(std::size_t count) {
        at_ += count;
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

// Eight bytes of the text as one word, the first byte in the lowest eight bits. The word tricks below rely
// on that order, which is the memory order of x86-64, the only target (see the top-level CMakeLists.txt).
static_assert(std::endian::native == std::endian::little);

std::uint64_t eightBytesAt(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word); // the text need not be aligned
    return word;
}

constexpr std::uint64_t kEachByte = 0x0101010101010101;

// Whether all eight bytes are ASCII digits. For each byte b, b - 0x30 sets its top bit when b is below '0'
// (or at least 0xB0) and b + 0x46 when b is above '9' (and below 0xBA). A carry or borrow between bytes
// only arises above a byte that is not a digit, which has set its own top bit already.
bool areEightDigits(std::uint64_t word) {
    return (((word - 0x30 * kEachByte) | (word + 0x46 * kEachByte)) & (0x80 * kEachByte)) == 0;
}

// The integer spelled by eight digit values 0-9, one a byte, the first and most significant in the lowest.
// Three steps join neighbours: digits into pairs (a x 10 + b), pairs into fours (x 100), fours into the
// eight (x 10000). Multiplying by 10^k x 2^w + 1 adds to each w-bit lane 10^k times the lane below it; the
// shift moves each sum down into the lower lane, and the mask keeps every other lane. Nothing carries
// from one lane into the next: 99, 9999 and 99999999 fit in 8, 16 and 32 bits.
std::uint64_t valueOfEightDigits(std::uint64_t digits) {
    digits = (digits * (10 * 0x100 + 1)) >> 8;
    digits = ((digits & 0x00FF00FF00FF00FF) * (100 * 0x10000 + 1)) >> 16;
    return ((digits & 0x0000FFFF0000FFFF) * (10000 * 0x100000000 + 1)) >> 32;
}

// Gathers the significant digits of a mantissa: leading zeros are skipped (and counted), and zeros are held
// back until a nonzero digit follows them, so that trailing zeros cost nothing.
class SignificantDigits {
public:
    explicit SignificantDigits(DecimalNumber& number) : number_(number) {}

    void add(int digit) {
        if (digit == 0) {
            if (started_) {
                ++pendingZeros_;
            } else {
                ++skippedZeros_;
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

    // The same for eight ASCII digits `text` at once, given also as `digits`: their values 0-9, one a
    // byte as eightBytesAt orders them.
    void addEight(const char* text, std::uint64_t digits) {
        if (digits == 0) {
            if (started_) {
                pendingZeros_ += 8;
            } else {
                skippedZeros_ += 8;
            }
            return;
        }
        // Zero bytes at the low end are leading zeros of the eight; at the high end, trailing ones.
        std::size_t first = 0;
        if (!started_) {
            first = static_cast<std::size_t>(std::countr_zero(digits)) / 8;
            skippedZeros_ += first;
            started_ = true;
        }
        const auto trailingZeros = static_cast<std::size_t>(std::countl_zero(digits)) / 8;
        if (pendingZeros_ != 0) {
            number_.addZeros(pendingZeros_);
        }
        // Shifting the trailing zeros out at the top leaves zeros at the bottom, as leading digits: the value
        // of the rest is unchanged.
        number_.addDigits(std::string_view(text + first, 8 - first - trailingZeros),
                          valueOfEightDigits(digits << (8 * trailingZeros)));
        pendingZeros_ = trailingZeros;
    }

    bool started() const { return started_; }
    // The zeros read before the first significant digit.
    std::int64_t skippedZeros() const { return static_cast<std::int64_t>(skippedZeros_); }

    // Completes the number, given the power of ten of its first digit.
    void finish(std::int64_t lead) {
        number_.setExponent(lead - static_cast<std::int64_t>(number_.count()) + 1);
    }

private:
    DecimalNumber& number_;
    std::size_t pendingZeros_ = 0;
    std::size_t skippedZeros_ = 0;
    bool started_ = false;
};

// Adds the digits at the start of `text` to `digits` eight at a time for as long as eight ASCII digits
// follow, and returns how many bytes that took: a multiple of 8, possibly 0.
std::size_t addEightDigitGroups(std::string_view text, SignificantDigits& digits) {
    std::size_t taken = 0;
    for (; text.size() - taken >= 8; taken += 8) {
        const std::uint64_t word = eightBytesAt(text.data() + taken);
        if (!areEightDigits(word)) {
            break;
        }
        digits.addEight(text.data() + taken, word - '0' * kEachByte);
    }
    return taken;
}

// Steps over the ASCII digits at `chars` in groups of eight, adding them to `digits`, and returns how many
// it took; the last few of the run are left to the caller. ASCII digits are single-byte characters, which
// the full-width mapping leaves alone, so they are taken straight from the bytes.
template <class Characters> std::int64_t readEightDigitGroups(Characters& chars, SignificantDigits& digits) {
    const std::string_view ahead = chars.ahead();
    if (ahead.size() < 8) {
        return 0; // a short text, such as a typed number
    }
    const std::size_t taken = addEightDigitGroups(ahead, digits);
    if (taken != 0) {
        chars.skipBytes(taken);
    }
    return static_cast<std::int64_t>(taken);
}

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

    // Each run of digits: groups of eight ASCII digits where it starts with them, then one character at a
    // time, which takes the rest of the run and full-width digits (a run that starts with those goes one
    // character at a time throughout).
    SignificantDigits digits(magnitude);
    std::int64_t integerDigits = readEightDigitGroups(chars, digits);
    for (; isDigit(chars.current()); chars.advance()) {
        digits.add(chars.current() - '0');
        ++integerDigits;
    }
    const bool startedInInteger = digits.started();
    const std::int64_t integerZeros = digits.skippedZeros();
    std::int64_t fractionDigits = 0;
    if (chars.current() == '.') {
        chars.advance();
        fractionDigits = readEightDigitGroups(chars, digits);
        for (; isDigit(chars.current()); chars.advance()) {
            digits.add(chars.current() - '0');
            ++fractionDigits;
        }
    }
    if (integerDigits == 0 && fractionDigits == 0) {
        return false;
    }
    // The power of ten of the first significant digit, counted from the digits around the point: from the
    // integer-part digits from the first significant one on, or from the zeros that open the fraction.
    const std::int64_t leadingFractionZeros = digits.skippedZeros() - integerZeros;
    std::int64_t lead = startedInInteger ? integerDigits - integerZeros - 1 : -(leadingFractionZeros + 1);

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
