#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The one way the program reads numbers from texts. No window parses numbers its own way.

// The leading number of a text: leading blanks skipped, an optional sign, digits, an optional
// fraction and exponent; reading stops at the first character that cannot continue the number.
// A text without a number gives 0.
double LeadingNumber(std::string_view text);
// Whether the text begins with such a number, so that a 0 read from it was typed.
bool HasLeadingNumber(std::string_view text);

// The editors' reading of a typed entry: blanks, tabs and line feeds are ignored wherever they
// stand ("1 2 3" is 123); a decimal number with sign, fraction and exponent, or &H / &O followed by
// hexadecimal / octal digits. A text without a number gives 0.
double EntryNumber(std::string_view text);

// The whole text read as a decimal number (surrounding blanks allowed); anything else in it
// throws std::invalid_argument.
double WholeNumber(std::string_view text);

// Conversions rounding to the nearest whole number, halves to even (12.5 -> 12, 13.5 -> 14).
// A result outside the type's range throws NumberOverflow.
int16_t ToInt16(double value);
int32_t ToInt32(double value);
uint8_t ToByte(double value);

// The leading number of a text as a signed 16-bit value, rounded half to even; none when it does
// not fit, so that the caller keeps what it had ("40000" gives none, "12.5x" gives 12).
std::optional<int16_t> LeadingInt16(std::string_view text);

// Rounded half to even and then limited to lo..hi, for entries that are clamped whatever was typed
// (99999 -> hi, -7 -> lo); never throws.
int32_t RoundClamped(double value, int32_t lo, int32_t hi);

// A single-precision number as the program writes it into a box: decimal, up to seven significant
// digits, no trailing zeros, "0" before the point, "." whatever the locale (0.5, 15.94, -0.12, 1).
std::string SingleText(float value);

// A number as the windows show it with a fixed count of decimals ("0.00", "0.0"): at least one
// integer digit, a leading "-" for negatives, "." whatever the locale, and no sign on a value that
// rounds to zero. The value's shortest decimal form is rounded, halves away from zero, so that a
// 32-bit float shows as the number it was made from: 2.35f as 2.4, 10.05f as 10.1.
std::string FormatDecimals(double value, int decimals);
std::string FormatDecimals(float value, int decimals);

// A whole number with leading zeros to at least `width` digits, as the printer's fields and the
// "0000" boxes write it: a leading "-" when negative ("+" too when plusSign and not negative); a
// wider number keeps all its digits (11 in 4 gives "0011", -5 gives "-0005").
std::string FormatDigits(int32_t value, int width, bool plusSign = false);
