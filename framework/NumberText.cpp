#include "framework/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

namespace
{
juce::String withDotAsDecimalPoint (const char* text)
{
    juce::String result (text);
    const auto* conventions = std::localeconv();

    if (conventions != nullptr && conventions->decimal_point != nullptr && conventions->decimal_point[0] != 0 && conventions->decimal_point[0] != '.')
        result = result.replaceCharacter ((juce::juce_wchar) (unsigned char) conventions->decimal_point[0], '.');

    return result;
}
} // namespace

juce::String formatGeneralNumber (double value)
{
    char buffer[64];
    std::snprintf (buffer, sizeof (buffer), "%.9g", value);
    return withDotAsDecimalPoint (buffer);
}

juce::String formatNineDecimals (float value)
{
    if (!std::isfinite (value) || std::abs (value) > 1.0e20)
        return formatGeneralNumber (value);

    // printf rounds exact ties to even (2^-10 prints as 0.000976562), so the exact
    // expansion is printed and rounded here. 150 decimals hold every float exactly.
    char buffer[256];
    std::snprintf (buffer, sizeof (buffer), "%.150f", std::abs ((double) value));

    juce::String integerDigits, fractionDigits;
    int i = 0;

    while (buffer[i] >= '0' && buffer[i] <= '9')
        integerDigits += buffer[i++];

    if (buffer[i] != 0)
        ++i; // the locale's decimal point

    fractionDigits = juce::String (buffer + i);

    juce::HeapBlock<char> digits;
    const int numInteger = integerDigits.length();
    const int total = numInteger + 9;
    digits.calloc ((size_t) total + 2);

    // One leading zero leaves room for a carry out of the integer part.
    digits[0] = '0';
    for (int d = 0; d < numInteger; ++d)
        digits[1 + d] = (char) integerDigits[d];
    for (int d = 0; d < 9; ++d)
        digits[1 + numInteger + d] = d < fractionDigits.length() ? (char) fractionDigits[d] : '0';

    if (fractionDigits.length() > 9 && fractionDigits[9] >= '5')
    {
        for (int d = total; d >= 0; --d)
        {
            if (digits[d] == '9')
            {
                digits[d] = '0';
                continue;
            }

            ++digits[d];
            break;
        }
    }

    juce::String text;

    if (value < 0.0f)
        text << '-';

    const int firstInteger = digits[0] == '0' ? 1 : 0;
    for (int d = firstInteger; d <= numInteger; ++d)
        text << digits[d];

    text << '.';

    for (int d = 0; d < 9; ++d)
        text << digits[1 + numInteger + d];

    return text;
}

int parseDecimalInteger (const juce::String& text)
{
    auto s = text.getCharPointer().findEndOfWhitespace();
    const bool negative = *s == '-';

    if (negative)
        ++s;

    const juce::int64 limit = negative ? -(juce::int64) std::numeric_limits<int>::min()
                                       : (juce::int64) std::numeric_limits<int>::max();
    juce::int64 magnitude = 0;

    for (auto c = *s; c >= '0' && c <= '9'; c = *++s)
        magnitude = juce::jmin (limit, magnitude * 10 + (c - '0'));

    return (int) (negative ? -magnitude : magnitude);
}

double parseDecimalNumber (const juce::String& text)
{
    return text.getDoubleValue();
}
