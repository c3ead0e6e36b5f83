#pragma once

#include <juce_core/juce_core.h>

/** Number to text and back, independent of the process's locale, as parameters show
    and read their values. */

/** Fixed-point text with exactly nine decimals, rounded half away from zero, with a
    "-" before negative values; beyond +-1e20 (and for non-finite values) the general
    form of formatGeneralNumber. */
juce::String formatNineDecimals (float value);

/** The text printf's "%.9g" gives, always with "." as the decimal point. */
juce::String formatGeneralNumber (double value);

/** A decimal integer read from the start of the text (leading white space, an optional
    "-", digits); 0 when there are none. Saturates at the int range instead of wrapping. */
int parseDecimalInteger (const juce::String& text);

/** A decimal number read from the start of the text; 0 when there is none. */
double parseDecimalNumber (const juce::String& text);
