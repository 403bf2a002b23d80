#include "calc/big_integer.h"

#include <algorithm>

namespace calc::detail {

namespace {

// 5^13 = 1220703125 is the largest power of five that fits in 32 bits.
constexpr std::uint32_t kFiveToThe13 = 1220703125;
constexpr std::uint32_t kPowersOfFive[13] = {1,     5,      25,      125,     625,      3125,     15625,
                                             78125, 390625, 1953125, 9765625, 48828125, 244140625};

} // namespace

BigInteger::BigInteger(std::uint64_t value) {
    while (value != 0) {
        limbs_.push_back(static_cast<std::uint32_t>(value));
        value >>= 32;
    }
}

BigInteger BigInteger::fromDecimalDigits(std::string_view digits) {
    BigInteger result;
    result.limbs_.reserve(digits.size() / 9 + 1);
    // Nine digits at a time: 10^9 < 2^32.
    std::size_t chunk = digits.size() % 9;
    if (chunk == 0) {
        chunk = 9;
    }
    for (std::size_t at = 0; at < digits.size(); at += chunk, chunk = 9) {
        std::uint32_t value = 0;
        std::uint32_t scale = 1;
        for (char c : digits.substr(at, chunk)) {
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
            scale *= 10;
        }
        result.multiplyAdd(scale, value);
    }
    return result;
}

void BigInteger::multiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : limbs_) {
        const std::uint64_t product = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) {
        limbs_.push_back(static_cast<std::uint32_t>(carry));
    }
    trim();
}

void BigInteger::multiply(const BigInteger& other) {
    if (isZero() || other.isZero()) {
        limbs_.clear();
        return;
    }
    std::vector<std::uint32_t> product(limbs_.size() + other.limbs_.size(), 0);
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < other.limbs_.size(); ++j) {
            const std::uint64_t t = std::uint64_t{limbs_[i]} * other.limbs_[j] + product[i + j] + carry;
            product[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        product[i + other.limbs_.size()] = static_cast<std::uint32_t>(carry);
    }
    limbs_ = std::move(product);
    trim();
}

void BigInteger::multiplyByPowerOfFive(std::uint64_t exponent) {
    for (; exponent >= 13; exponent -= 13) {
        multiplyAdd(kFiveToThe13, 0);
    }
    if (exponent != 0) {
        multiplyAdd(kPowersOfFive[exponent], 0);
    }
}

void BigInteger::shiftLeft(std::uint64_t bits) {
    if (isZero() || bits == 0) {
        return;
    }
    const std::size_t wholeLimbs = bits / 32;
    const unsigned rest = bits % 32;
    if (rest != 0) {
        std::uint32_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint32_t next = limb >> (32 - rest);
            limb = (limb << rest) | carry;
            carry = next;
        }
        if (carry != 0) {
            limbs_.push_back(carry);
        }
    }
    limbs_.insert(limbs_.begin(), wholeLimbs, 0);
}

std::uint32_t BigInteger::divideSmall(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (std::size_t i = limbs_.size(); i-- > 0;) {
        const std::uint64_t dividend = (remainder << 32) | limbs_[i];
        limbs_[i] = static_cast<std::uint32_t>(dividend / divisor);
        remainder = dividend % divisor;
    }
    trim();
    return static_cast<std::uint32_t>(remainder);
}

std::string BigInteger::toDecimalDigits() const {
    if (isZero()) {
        return "0";
    }
    // Peel off nine digits at a time from the bottom, then print the groups from the top.
    BigInteger rest = *this;
    std::vector<std::uint32_t> groups;
    groups.reserve(limbs_.size() * 32 / 29 + 1);
    while (!rest.isZero()) {
        groups.push_back(rest.divideSmall(1000000000));
    }
    std::string digits = std::to_string(groups.back());
    for (std::size_t i = groups.size() - 1; i-- > 0;) {
        const std::string group = std::to_string(groups[i]);
        digits.append(9 - group.size(), '0');
        digits += group;
    }
    return digits;
}

int compare(const BigInteger& a, const BigInteger& b) {
    if (a.limbs_.size() != b.limbs_.size()) {
        return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    }
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
        if (a.limbs_[i] != b.limbs_[i]) {
            return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
    }
    return 0;
}

void BigInteger::trim() {
    while (!limbs_.empty() && limbs_.back() == 0) {
        limbs_.pop_back();
    }
}

} // namespace calc::detail
