#include "framework/NumberText.h"

#include <charconv>
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

namespace
{
bool isDigit (juce::juce_wchar c)
{
    return c >= '0' && c <= '9';
}

/** The number at the start of s, read as far as the grammar of readNumberText allows; s moves past
    it. Empty when s holds no digit there. juce::String::getDoubleValue is not used: its exponent
    overflows a signed integer on "1e9999999999". */
std::optional<double> readNumberAt (juce::String::CharPointerType& s)
{
    std::string number; // ASCII, without a leading "+", for std::from_chars
    const auto sign = *s;

    if (sign == '-' || sign == '+')
    {
        if (sign == '-')
            number += '-';

        ++s;
    }

    // The power of ten of the first significant digit, for telling overflow from underflow.
    juce::int64 order = 0;
    bool significant = false, anyDigit = false;
    int integerDigits = 0;

    for (; isDigit (*s); ++s)
    {
        anyDigit = true;
        number += (char) *s;

        if (significant || *s != '0')
        {
            significant = true;
            ++integerDigits;
        }
    }

    order = integerDigits - 1;

    if (*s == '.')
    {
        auto afterPoint = s + 1;

        if (anyDigit || isDigit (*afterPoint))
        {
            s = afterPoint;
            number += '.';

            for (juce::int64 place = -1; isDigit (*s); ++s, --place)
            {
                anyDigit = true;
                number += (char) *s;

                if (!significant && *s != '0')
                {
                    significant = true;
                    order = place;
                }
            }
        }
    }

    if (!anyDigit)
        return {};

    if (*s == 'e' || *s == 'E')
    {
        auto e = s + 1;
        const bool negativeExponent = *e == '-';

        if (*e == '-' || *e == '+')
            ++e;

        if (isDigit (*e))
        {
            number += 'e';

            if (negativeExponent)
                number += '-';

            // Past a million the exponent decides alone; the digits are kept short for from_chars.
            juce::int64 exponent = 0;

            for (; isDigit (*e); ++e)
                exponent = juce::jmin ((juce::int64) 1000000, exponent * 10 + (*e - '0'));

            number += std::to_string (exponent);
            order += negativeExponent ? -exponent : exponent;
            s = e;
        }
    }

    double value = 0.0;
    const auto result = std::from_chars (number.data(), number.data() + number.size(), value);

    if (result.ec == std::errc::result_out_of_range)
    {
        const double magnitude = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return sign == '-' ? -magnitude : magnitude;
    }

    if (result.ec != std::errc())
        return {};

    return value;
}

bool isOnlyWhiteSpace (juce::String::CharPointerType s)
{
    return s.findEndOfWhitespace().isEmpty();
}
} // namespace

double parseDecimalNumber (const juce::String& text)
{
    auto s = text.getCharPointer().findEndOfWhitespace();
    auto word = s;

    if (*word == '-' || *word == '+')
        ++word;

    for (const auto* name : {"nan", "inf"})
    {
        if (juce::CharacterFunctions::compareIgnoreCaseUpTo (word, juce::CharPointer_ASCII (name), 3) == 0)
        {
            const double value = name[0] == 'n' ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
            return *s == '-' ? -value : value;
        }
    }

    return readNumberAt (s).value_or (0.0);
}

std::optional<int> readIntegerText (const juce::String& text)
{
    auto s = text.getCharPointer().findEndOfWhitespace();
    const bool negative = *s == '-';

    if (*s == '-' || *s == '+')
        ++s;

    if (!isDigit (*s))
        return {};

    juce::int64 magnitude = 0;

    for (; isDigit (*s); ++s)
    {
        magnitude = magnitude * 10 + (*s - '0');

        if (magnitude > (juce::int64) std::numeric_limits<int>::max() + 1)
            return {};
    }

    const auto value = negative ? -magnitude : magnitude;

    if (!isOnlyWhiteSpace (s) || value > std::numeric_limits<int>::max())
        return {};

    return (int) value;
}

std::optional<double> readNumberText (const juce::String& text)
{
    auto s = text.getCharPointer().findEndOfWhitespace();
    const auto value = readNumberAt (s);

    if (!value.has_value() || !isOnlyWhiteSpace (s) || !std::isfinite (*value))
        return {};

    return value;
}
