// The calculator's numeric text layer: reading numbers from the texts of the input boxes, rounding results
// to a number of decimal places, writing results as the texts the result boxes show, and the two elementary
// functions the formulas need.
//
// Texts are GB2312 byte strings: a byte of 0x80 or above starts a two-byte character together with the byte
// that follows it; every other byte is a character by itself. Nothing here depends on the C locale or on
// the user's regional settings: "." is the only decimal point and there is no digit grouping.
//
// Every function is pure and never fails. squareRoot, arcTangent and roundToPlaces compute with the x87
// 64-bit significand, so their results assume the floating-point environment that
// setFloatingPointEnvironment() (calc/volume.h) establishes; textToNumber and numberToText are exact integer
// algorithms and give the same result under any rounding mode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace calc {

// Reads the number at the start of a text, after mapping full-width characters to their ASCII counterparts
// (see toHalfWidth). Grammar, after leading blanks (0x09-0x0D, 0x20):
//
//   [+|-] ( digits [ "." digits* ] | "." digits ) [ (e|E|d|D) [+|-] digits ]
//
// The longest prefix of that form is read and whatever follows is ignored. An exponent letter that is not
// followed by at least one digit is not part of the number. A text without a mantissa digit gives +0.
// The decimal value is rounded to the nearest double, subnormals included; an exact tie between two doubles
// goes to the one nearer zero. Overflow gives an infinity and underflow a zero, both with the written sign.
//
//   textToNumber("  -3e2kg")  -> -300        textToNumber("1.5d2") -> 150     textToNumber("1e+") -> 1
//   textToNumber("2.5.1")     -> 2.5         textToNumber("0x1A")  -> 0       textToNumber("-0")  -> -0.0
//   textToNumber("9007199254740995") -> 9007199254740994   (a tie: toward zero, not to even)
//   textToNumber("\xA3\xB1\xA3\xAE\xA3\xB5") -> 1.5         (full-width "1.5")
//
// Any bytes and any length are accepted; the time is linear in the length of the text.
double textToNumber(std::string_view text);

// textToNumber without the full-width mapping: the number at the start of a text as it stands. A two-byte
// character ends the number like any other character outside the grammar. readNumber("１") -> 0.
double readNumber(std::string_view text);

// The full-width mapping on its own. Two-byte characters become:
//   A1 A1 (ideographic space) -> " "        A1 AB -> "~"        A1 EE, A1 EF -> "*"
//   A3 xx, xx in A1..FE       -> the single byte xx - 0x80 (the full-width forms of "!" to "~")
// Every other two-byte character is kept as its two bytes; a lead byte that ends the text is dropped.
std::string toHalfWidth(std::string_view text);

// Rounds x to `places` decimal places (places < 0 rounds to tens, hundreds, ...). Halves go away from zero,
// and a scaled magnitude whose fraction falls short of one half by up to about 1e-12 is lifted over it:
//   roundToPlaces(2.5) -> 3          roundToPlaces(1234, -2) -> 1200     roundToPlaces(1.005, 2) -> 1.01
//   roundToPlaces(2.000005, 5) -> 2  roundToPlaces(-0.000004, 5) -> -0.0
// Zeros and NaNs come back unchanged, infinities too; a scaled value beyond the double range gives an
// infinity with the sign of x (roundToPlaces(1e305, 5) -> +inf).
double roundToPlaces(double x, std::int32_t places = 0);

// The text a result box shows for x: at most 13 significant digits, trailing zeros dropped, exponent form
// when the decimal exponent is below -4 or at least 13, with a sign and at least three exponent digits.
//   0.5 -> "0.5"   1/3 -> "0.3333333333333"   99999999999999 -> "1e+014"   0.00001 -> "1e-005"   -0 -> "0"
//   +inf -> "1.#INF"   -inf -> "-1.#INF"   the default NaN (bits FFF8000000000000) -> "-1.#IND"
//   other quiet NaNs -> "1.#QNAN" / "-1.#QNAN"   signalling NaNs -> "1.#SNAN" / "-1.#SNAN"
// The digits come from the exact decimal expansion of x, cut to 17 significant digits (half up on the 18th)
// and then to 13 (half up on the 14th of those 17). The text is ASCII, never empty, at most 20 characters.
std::string numberToText(double x);

// The square root, computed with a 64-bit significand and rounded to double. sqrt(-0) = -0, sqrt(+inf) =
// +inf, a negative x gives the default NaN, a NaN comes back unchanged.
double squareRoot(double x);

// The arc tangent in radians, in [-pi/2, pi/2], computed with a 64-bit significand and rounded to double.
// arcTangent(+inf) = 1.5707963267948966, arcTangent(+-0) = +-0, a NaN comes back unchanged.
double arcTangent(double x);

} // namespace calc
