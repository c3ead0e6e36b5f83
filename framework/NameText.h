#pragma once

#include <juce_core/juce_core.h>

/** The characters a name may hold. A name (of a preset, a group, a bank, a pattern, a drum map)
    comes from typing, from the host or from a file, and goes into XML documents; a control
    character typed with Ctrl or brought by a damaged file would make every document that holds
    the name unreadable to a strict XML reader. */

/** False for the control characters (below 32, and 127) and for what XML 1.0 cannot hold at all
    (surrogates, U+FFFE, U+FFFF, beyond U+10FFFF). */
bool isNameCharacter (juce::juce_wchar character) noexcept;

/** The name without the characters isNameCharacter refuses; the others keep their order. */
juce::String cleanName (const juce::String& name);
