#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Reading and writing the plug-in's XML files. */

/** Writes the document as UTF-8 with an XML declaration, no DTD and a line width of 60
    through a temporary file that then replaces the target, so a failed write leaves the
    old file whole. False when anything failed. */
bool writeXmlDocument (const juce::XmlElement& element, const juce::File& file);

/** The document element of the file, or null when it cannot be read or parsed. */
std::unique_ptr<juce::XmlElement> parseXmlDocument (const juce::File& file);
