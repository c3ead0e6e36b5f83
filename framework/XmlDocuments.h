#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Reading and writing the plug-in's XML files. Every document the plug-in reads, from a chunk, a
    file or a resource, goes through parseXmlText or parseXmlDocument: one strict XML 1.0 parser
    (expat) that builds the juce::XmlElement tree the readers take, within the bounds below. */

/** The largest document any reader accepts. A whole state with every pattern and preset stays well
    below a megabyte. */
constexpr size_t maxXmlDocumentBytes = 8 * 1024 * 1024;

/** The deepest element nesting any reader accepts. Our own documents need six levels. */
constexpr int maxXmlDocumentDepth = 32;

/** The most attributes one element may carry. Ours carry at most seven; juce::XmlElement looks
    through the earlier attributes for every one it adds, so thousands on one element would take
    minutes to store. */
constexpr int maxXmlElementAttributes = 64;

/** Writes the document as UTF-8 with an XML declaration, no DTD and a line width of 60
    through a temporary file that then replaces the target, so a failed write leaves the
    old file whole. False when anything failed. */
bool writeXmlDocument (const juce::XmlElement& element, const juce::File& file);

/** The document element of the text, or null when it is not one well-formed XML document within
    the bounds, or holds a document type declaration (so no entity is ever defined and no other
    file is read). The text is read as the Unicode it is, whatever encoding its declaration names.
    error, when given, receives the reason and its line ("not XML: mismatched tag at line 3"), or
    is cleared.

    The tree is the one juce::XmlDocument builds: attributes in document order; text as text
    elements, the run between two pieces of markup (comments left out) as one element, dropped
    when it is only white space; each CDATA section a text element of its own. */
std::unique_ptr<juce::XmlElement> parseXmlText (const juce::String& text, juce::String* error = nullptr);

/** parseXmlText for UTF-8 bytes as they lie in memory (a chunk's text), which need not be checked or
    copied into a juce::String first: the parser refuses bytes that are not UTF-8. */
std::unique_ptr<juce::XmlElement> parseXmlUtf8 (const char* bytes, size_t numBytes, juce::String* error = nullptr);

/** The document element of the file, or null when the file is missing, larger than the bound, or
    refused as parseXmlText refuses text. The encoding comes from a byte order mark or the XML
    declaration (UTF-8, UTF-16, ISO-8859-1 or US-ASCII); an encoding the parser does not know is
    read as UTF-8. A zero byte ends a file that is not UTF-16. */
std::unique_ptr<juce::XmlElement> parseXmlDocument (const juce::File& file, juce::String* error = nullptr);
