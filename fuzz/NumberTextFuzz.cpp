// Every text gives either a finite float or one of the two conversion failures, each with its
// exact message; a text with blanks added around it converts the same way.
#include "calc/NumberText.h"
#include "rtl/Exceptions.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

enum class Outcome { Value, Invalid, Overflow };

Outcome Convert(std::string_view text, float& value) {
    try {
        value = TextToSingle(text);
        if (!std::isfinite(value)) {
            std::abort();
        }
        return Outcome::Value;
    } catch (const EConvertError& failure) {
        const std::string expected =
            "'" + std::string(text) + "' is not a valid floating point value";
        if (failure.Message() != expected) {
            std::abort();
        }
        return Outcome::Invalid;
    } catch (const EOverflow& failure) {
        if (failure.Message() != "Floating point overflow") {
            std::abort();
        }
        return Outcome::Overflow;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    float value = 0;
    const Outcome outcome = Convert(text, value);

    const std::string padded = "  " + std::string(text) + "  ";
    float paddedValue = 0;
    const Outcome paddedOutcome = Convert(padded, paddedValue);
    if (paddedOutcome != outcome ||
        (outcome == Outcome::Value && std::memcmp(&value, &paddedValue, sizeof value) != 0)) {
        std::abort();
    }
    return 0;
}
