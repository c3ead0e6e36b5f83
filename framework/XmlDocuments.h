#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Reading and writing the plug-in's XML files. Every document the plug-in reads, from a chunk, a
    file or a resource, goes through parseXmlText, which refuses what the XML parser must not see. */

/** The largest document any reader accepts. A whole state with every pattern and preset stays well
    below a megabyte. */
constexpr size_t maxXmlDocumentBytes = 8 * 1024 * 1024;

/** The deepest element nesting any reader accepts. Our own documents need six levels; the parser
    recurses once per level, so a deeply nested document would exhaust the stack. */
constexpr int maxXmlDocumentDepth = 32;

/** Writes the document as UTF-8 with an XML declaration, no DTD and a line width of 60
    through a temporary file that then replaces the target, so a failed write leaves the
    old file whole. False when anything failed. */
bool writeXmlDocument (const juce::XmlElement& element, const juce::File& file);

/** A cheap scan of the text before parsing: empty when it holds exactly one complete document
    (every element closed by its own name, nothing but comments and white space after it) within the
    size and depth bounds; otherwise why it was refused. */
juce::String checkXmlText (const juce::String& text);

/** The document element of the text, or null when checkXmlText refuses it or it does not parse.
    error, when given, receives the reason. */
std::unique_ptr<juce::XmlElement> parseXmlText (const juce::String& text, juce::String* error = nullptr);

/** The document element of the file, or null when the file is missing, larger than the bound, or
    refused by parseXmlText. */
std::unique_ptr<juce::XmlElement> parseXmlDocument (const juce::File& file, juce::String* error = nullptr);
