#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** Number to text and back, independent of the process's locale, as parameters show
    and read their values. */

/** Fixed-point text with exactly nine decimals, rounded half away from zero, with a
    "-" before negative values; beyond +-1e20 (and for non-finite values) the general
    form of formatGeneralNumber. */
juce::String formatNineDecimals (float value);

/** The text printf's "%.9g" gives, always with "." as the decimal point. */
juce::String formatGeneralNumber (double value);

/** A decimal integer read from the start of the text (leading white space, an optional
    "-", digits); 0 when there are none. Saturates at the int range instead of wrapping.
    For text typed by a user; documents are read with readIntegerText. */
int parseDecimalInteger (const juce::String& text);

/** A decimal number read from the start of the text; 0 when there is none. "nan" and "inf"
    (in any case, after an optional sign) give those values, and a magnitude beyond the double
    range gives an infinity. For text typed by a user; documents are read with readNumberText. */
double parseDecimalNumber (const juce::String& text);

/** The whole text as a decimal integer: an optional "-" or "+", then digits, with nothing but
    white space around them. Empty for any other text ("12x", "1.0", "1e3", "") and for a value
    outside the int range. */
std::optional<int> readIntegerText (const juce::String& text);

/** The whole text as a decimal number: an optional sign, digits with an optional "." (at least
    one digit), an optional exponent ("e" or "E", an optional sign, digits), with nothing but white
    space around. Empty for any other text ("nan", "inf", "0x1p3", "1,5") and for a magnitude
    beyond the double range ("1e9999999999"); a magnitude too small for a double reads as 0. */
std::optional<double> readNumberText (const juce::String& text);
