#pragma once

#include <string_view>

// Converts a cell text to a single-precision number by the program's number syntax: optional
// blanks, an optional sign, digits with an optional decimal comma, an optional exponent, optional
// blanks. The value is formed in extended precision and then rounded to the nearest float.
// Throws EConvertError for a text that is no number and EOverflow for a value beyond the
// single-precision range. Time and memory stay bounded whatever the text's length.
float TextToSingle(std::string_view text);
