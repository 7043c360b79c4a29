#include "calc/NumberText.h"

#include "rtl/Exceptions.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#if defined(_MSC_VER)
#include <locale.h>
#else
#include <clocale>
#if defined(__APPLE__)
#include <xlocale.h>
#endif
#endif

namespace {

// Enough significant digits to round any decimal correctly to extended precision: an exact
// halfway point between two extended numbers has at most about 11 500 significant digits.
// Longer digit strings are cut there, with a nonzero sticky digit standing for the rest, which
// rounds the same way and keeps a pasted text of megabytes cheap.
constexpr std::size_t kMaxSignificantDigits = 12000;

// An exponent's digits end once its magnitude reaches this.
constexpr int kExponentLimit = 500;

// Decimal orders of magnitude beyond which the result is known without converting: above
// about 1.19e4932 extended precision has no finite value, below about 3.6e-4951 it rounds to 0.
constexpr std::int64_t kMaxDecimalOrder = 4934;
constexpr std::int64_t kMinDecimalOrder = -4960;

[[noreturn]] void ThrowInvalid(std::string_view text) {
    std::string message;
    message.reserve(text.size() + 40);
    message += '\'';
    message += text;
    message += "' is not a valid floating point value";
    throw EConvertError(std::move(message));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Converts "<digits>e<exponent>" in the C locale, whatever locale the process runs in.
long double ParseExtended(const std::string& digitsAndExponent) {
#if defined(_MSC_VER)
    static const _locale_t cLocale = _create_locale(LC_NUMERIC, "C");
    return _strtold_l(digitsAndExponent.c_str(), nullptr, cLocale);
#else
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    return strtold_l(digitsAndExponent.c_str(), nullptr, cLocale);
#endif
}

} // namespace

float TextToSingle(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') {
        ++i;
    }

    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Mantissa: the significant digits (leading zeros dropped) and the power of ten that scales
    // them; only the first kMaxSignificantDigits are kept.
    std::string digits;
    std::int64_t scale = 0;
    bool droppedNonZero = false;
    std::size_t mantissaChars = 0;
    const auto takeDigit = [&](char c, bool fraction) {
        if (digits.empty() && c == '0') {
            if (fraction) {
                --scale;
            }
            return;
        }
        if (digits.size() < kMaxSignificantDigits) {
            digits += c;
            if (fraction) {
                --scale;
            }
        } else {
            droppedNonZero = droppedNonZero || c != '0';
            if (!fraction) {
                ++scale;
            }
        }
    };
    while (i < n && IsDigit(text[i])) {
        takeDigit(text[i], false);
        ++i;
        ++mantissaChars;
    }
    if (i < n && text[i] == ',') {
        ++i;
        ++mantissaChars;
        while (i < n && IsDigit(text[i])) {
            takeDigit(text[i], true);
            ++i;
        }
    }
    if (mantissaChars == 0) {
        ThrowInvalid(text);
    }

    std::int64_t exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        while (i < n && IsDigit(text[i]) && exponent < kExponentLimit) {
            exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }

    while (i < n && text[i] == ' ') {
        ++i;
    }
    if (i != n) {
        ThrowInvalid(text);
    }

    long double value = 0.0L;
    if (!digits.empty()) {
        if (droppedNonZero) {
            digits += '1';
            --scale;
        }
        // Trailing zeros only lengthen the conversion.
        const std::size_t last = digits.find_last_not_of('0');
        scale += static_cast<std::int64_t>(digits.size() - (last + 1));
        digits.resize(last + 1);

        const std::int64_t power = scale + exponent;
        const std::int64_t order = power + static_cast<std::int64_t>(digits.size());
        if (order > kMaxDecimalOrder) {
            ThrowInvalid(text);
        }
        if (order >= kMinDecimalOrder) {
            digits += 'e';
            digits += std::to_string(power);
            value = ParseExtended(digits);
            if (std::isinf(value)) {
                ThrowInvalid(text);
            }
        }
    }
    if (negative) {
        value = -value;
    }

    // A single rounding from extended to single precision; no finite nearest float means the
    // magnitude is 2^128 - 2^103 or more.
    const float result = static_cast<float>(value);
    if (std::isinf(result)) {
        throw EOverflow("Floating point overflow");
    }
    return result;
}
