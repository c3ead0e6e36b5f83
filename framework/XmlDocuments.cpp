#include "framework/XmlDocuments.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <vector>

bool writeXmlDocument (const juce::XmlElement& element, const juce::File& file)
{
    if (file == juce::File())
        return false;

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 60;

    juce::TemporaryFile temporary (file);

    {
        juce::FileOutputStream out (temporary.getFile());

        if (!out.openedOk())
            return false;

        element.writeTo (out, format);
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
}

namespace
{
/** The short texts met last, so that the names and values a document repeats (parameter names,
    "0.5", track strings) are shared, as juce::String can be, instead of being looked up in JUCE's
    string pool or copied again for every element. Direct-mapped: a miss replaces the slot. */
template <typename Text>
class RecentTexts
{
public:
    RecentTexts()
        : slots (numSlots)
    {
    }

    Text get (const char* text, size_t length)
    {
        if (length > maxLength)
            return Text (juce::String::fromUTF8 (text, (int) length));

        // FNV-1a
        juce::uint32 hash = 2166136261u;

        for (size_t i = 0; i < length; ++i)
            hash = (hash ^ (juce::uint8) text[i]) * 16777619u;

        auto& slot = slots[hash & (numSlots - 1)];

        if (!slot.used || slot.length != length || std::memcmp (bytesOf (slot.text), text, length) != 0)
            slot = {Text (juce::String::fromUTF8 (text, (int) length)), length, true};

        return slot.text;
    }

private:
    static constexpr size_t numSlots = 256, maxLength = 32;

    static const char* bytesOf (const juce::String& s) { return s.toRawUTF8(); }
    static const char* bytesOf (const juce::Identifier& s) { return s.getCharPointer().getAddress(); }

    struct Slot
    {
        Text text;
        size_t length = 0;
        bool used = false;
    };

    std::vector<Slot> slots;
};

/** Builds the juce::XmlElement tree from expat's events. A finished element waits in a flat list
    until its parent closes and takes it: juce::XmlElement appends a child by walking its list,
    which would make a wide document quadratic, whereas prepending is immediate. */
class TreeBuilder
{
public:
    explicit TreeBuilder (XML_Parser p)
        : parser (p)
    {
        XML_SetUserData (parser, this);
        XML_SetElementHandler (parser, startElement, endElement);
        XML_SetCharacterDataHandler (parser, characters);
        XML_SetCdataSectionHandler (parser, startCdata, endCdata);
        XML_SetProcessingInstructionHandler (parser, instruction);
        XML_SetStartDoctypeDeclHandler (parser, doctype);
        // No external entity handler either: nothing outside the text is ever read.
        XML_SetParamEntityParsing (parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }

    std::unique_ptr<juce::XmlElement> parse (const char* bytes, size_t numBytes, juce::String& error)
    {
        const auto status = XML_Parse (parser, bytes, (int) numBytes, XML_TRUE);
        const auto line = juce::String ((juce::uint64) XML_GetCurrentLineNumber (parser));

        if (reason.isNotEmpty())
        {
            error = reason + " at line " + line;
            return {};
        }

        if (status != XML_STATUS_OK || root == nullptr)
        {
            error = "not XML: " + juce::String (XML_ErrorString (XML_GetErrorCode (parser))) + " at line " + line;
            return {};
        }

        error.clear();
        return std::move (root);
    }

    bool refusedForUnknownEncoding() const { return reason.isEmpty() && XML_GetErrorCode (parser) == XML_ERROR_UNKNOWN_ENCODING; }

private:
    struct OpenElement
    {
        std::unique_ptr<juce::XmlElement> element;
        size_t firstChild; // its children's start in finished
    };

    static TreeBuilder& from (void* userData) { return *static_cast<TreeBuilder*> (userData); }

    static void XMLCALL startElement (void* userData, const XML_Char* name, const XML_Char** attributes)
    {
        auto& b = from (userData);

        if (b.stopped())
            return;

        if ((int) b.open.size() >= maxXmlDocumentDepth)
            return b.refuse ("elements nested deeper than " + juce::String (maxXmlDocumentDepth) + " levels");

        b.flushText();
        auto element = std::make_unique<juce::XmlElement> (b.names.get (name, std::strlen (name)));

        for (int i = 0; attributes[i] != nullptr; i += 2)
        {
            if (i / 2 >= maxXmlElementAttributes)
                return b.refuse ("more than " + juce::String (maxXmlElementAttributes) + " attributes on one element");

            element->setAttribute (b.names.get (attributes[i], std::strlen (attributes[i])), b.values.get (attributes[i + 1], std::strlen (attributes[i + 1])));
        }

        b.open.push_back ({std::move (element), b.finished.size()});
    }

    static void XMLCALL endElement (void* userData, const XML_Char*)
    {
        auto& b = from (userData);

        if (b.stopped())
            return;

        b.flushText();
        auto element = std::move (b.open.back().element);
        const auto firstChild = b.open.back().firstChild;
        b.open.pop_back();

        for (auto i = b.finished.size(); i > firstChild; --i)
            element->prependChildElement (b.finished[i - 1].release());

        b.finished.resize (firstChild);

        if (b.open.empty())
            b.root = std::move (element);
        else
            b.finished.push_back (std::move (element));
    }

    static void XMLCALL characters (void* userData, const XML_Char* s, int length)
    {
        auto& b = from (userData);

        if (!b.stopped() && !b.open.empty())
            b.text.append (s, (size_t) length);
    }

    static void XMLCALL startCdata (void* userData)
    {
        from (userData).flushText();
    }

    // A CDATA section is a text element even when it is empty or only white space.
    static void XMLCALL endCdata (void* userData)
    {
        auto& b = from (userData);

        if (!b.stopped())
            b.addText();
    }

    // Comments are not reported, so the text around one stays one run; an instruction ends the run.
    static void XMLCALL instruction (void* userData, const XML_Char*, const XML_Char*)
    {
        from (userData).flushText();
    }

    static void XMLCALL doctype (void* userData, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        from (userData).refuse ("a document type declaration");
    }

    void flushText()
    {
        // Most runs are the line breaks and indents between elements: dropped before any String is made.
        if (!stopped() && text.find_first_not_of (" \t\r\n") != std::string::npos)
        {
            const auto run = values.get (text.data(), text.size());

            if (run.containsNonWhitespaceChars())
                finished.emplace_back (juce::XmlElement::createTextElement (run));
        }

        text.clear();
    }

    void addText()
    {
        finished.emplace_back (juce::XmlElement::createTextElement (values.get (text.data(), text.size())));
        text.clear();
    }

    bool stopped() const { return reason.isNotEmpty(); }

    void refuse (const juce::String& why)
    {
        if (stopped())
            return;

        reason = why;
        XML_StopParser (parser, XML_FALSE);
    }

    XML_Parser parser;
    std::vector<OpenElement> open;
    std::vector<std::unique_ptr<juce::XmlElement>> finished;
    std::string text; // UTF-8, as expat reports it
    RecentTexts<juce::Identifier> names;
    RecentTexts<juce::String> values;
    std::unique_ptr<juce::XmlElement> root;
    juce::String reason;
};

juce::String largerThanTheBound()
{
    return "larger than " + juce::String ((juce::int64) maxXmlDocumentBytes) + " bytes";
}

/** encoding null: from the byte order mark or the declaration; otherwise it overrides both. */
std::unique_ptr<juce::XmlElement> parseXmlBytes (const char* bytes, size_t numBytes, const char* encoding, juce::String* error)
{
    juce::String reason;
    std::unique_ptr<juce::XmlElement> element;

    if (numBytes > maxXmlDocumentBytes)
    {
        reason = largerThanTheBound();
    }
    else
    {
        std::unique_ptr<XML_ParserStruct, decltype (&XML_ParserFree)> parser (XML_ParserCreate (encoding), XML_ParserFree);

        if (parser == nullptr)
        {
            reason = "out of memory";
        }
        else
        {
            TreeBuilder builder (parser.get());
            element = builder.parse (bytes, numBytes, reason);

            // Read as UTF-8, as every encoding was read before this parser.
            if (element == nullptr && encoding == nullptr && builder.refusedForUnknownEncoding())
                return parseXmlBytes (bytes, numBytes, "UTF-8", error);
        }
    }

    if (error != nullptr)
        *error = reason;

    return element;
}
} // namespace

std::unique_ptr<juce::XmlElement> parseXmlText (const juce::String& text, juce::String* error)
{
    const auto* bytes = text.toRawUTF8();
    return parseXmlBytes (bytes, std::strlen (bytes), "UTF-8", error);
}

std::unique_ptr<juce::XmlElement> parseXmlUtf8 (const char* bytes, size_t numBytes, juce::String* error)
{
    return parseXmlBytes (bytes, numBytes, "UTF-8", error);
}

std::unique_ptr<juce::XmlElement> parseXmlDocument (const juce::File& file, juce::String* error)
{
    auto refuse = [error] (const juce::String& reason)
    {
        if (error != nullptr)
            *error = reason;

        return std::unique_ptr<juce::XmlElement>();
    };

    if (!file.existsAsFile())
        return refuse ("no such file");

    // Checked before reading, so that a huge file is not even loaded.
    if (file.getSize() > (juce::int64) maxXmlDocumentBytes)
        return refuse (largerThanTheBound());

    juce::MemoryBlock data;

    if (!file.loadFileAsData (data))
        return refuse ("cannot be read");

    const auto* bytes = static_cast<const char*> (data.getData());
    auto size = data.getSize();
    const bool utf16 = size >= 2 && (juce::CharPointer_UTF16::isByteOrderMarkBigEndian (bytes) || juce::CharPointer_UTF16::isByteOrderMarkLittleEndian (bytes));

    // Files were read as C strings before, so a zero byte still ends the text.
    if (!utf16)
        size = (size_t) (std::find (bytes, bytes + size, '\0') - bytes);

    return parseXmlBytes (bytes, size, nullptr, error);
}
