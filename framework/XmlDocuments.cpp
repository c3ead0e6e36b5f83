#include "framework/XmlDocuments.h"

#include <algorithm>
#include <cstring>

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
/** Walks the document's markup without recursion. Only what decides whether the parser may see the
    text is looked at: tags, their names and quoted attribute values, comments, CDATA and processing
    instructions. All of it is ASCII, so the UTF-8 bytes are scanned directly. */
class XmlStructureScan
{
public:
    XmlStructureScan (const char* text, size_t numBytes)
        : p (text)
        , end (text + numBytes)
    {
    }

    juce::String run()
    {
        bool rootRead = false;

        for (;;)
        {
            skipWhiteSpace();

            if (p == end)
                return rootRead ? juce::String() : juce::String ("no document element");

            if (*p != '<')
                return rootRead ? "text after the document element" : "text before the document element";

            const auto skipped = skipCommentOrInstruction (false);

            if (skipped == Markup::unclosed)
                return incomplete();

            if (skipped == Markup::skipped)
                continue;

            if (startsWith ("<!"))
            {
                // Our documents have none; refusing them keeps entity definitions away from the parser.
                return "a document type declaration";
            }

            if (rootRead)
            {
                return "a second document element";
            }
            else
            {
                const auto error = scanElements();

                if (error.isNotEmpty())
                    return error;

                rootRead = true;
            }
        }
    }

private:
    struct Name
    {
        const char* start = nullptr;
        size_t length = 0;

        bool operator== (const Name& other) const
        {
            return length == other.length && std::memcmp (start, other.start, length) == 0;
        }
    };

    enum class Markup
    {
        none,
        skipped,
        unclosed
    };

    // Skips a comment, a processing instruction or, inside the document element, a CDATA section at p.
    Markup skipCommentOrInstruction (bool insideElement)
    {
        static constexpr const char* delimiters[][2] = {{"<!--", "-->"}, {"<?", "?>"}, {"<![CDATA[", "]]>"}};

        for (int i = 0; i < (insideElement ? 3 : 2); ++i)
            if (startsWith (delimiters[i][0]))
                return skipPast (delimiters[i][1]) ? Markup::skipped : Markup::unclosed;

        return Markup::none;
    }

    // Scans the document element from its '<' to its end.
    juce::String scanElements()
    {
        int depth = 0;

        for (;;)
        {
            const auto skipped = skipCommentOrInstruction (true);

            if (skipped == Markup::unclosed)
                return incomplete();

            if (skipped == Markup::none)
            {
                bool finished = false;
                const auto error = scanTag (depth, finished);

                if (error.isNotEmpty() || finished)
                    return error;
            }

            // Character data up to the next tag.
            const auto* next = static_cast<const char*> (std::memchr (p, '<', (size_t) (end - p)));

            if (next == nullptr)
                return incomplete();

            p = next;
        }
    }

    // Reads the tag at p, opening or closing an element; finished when it ends the document element.
    juce::String scanTag (int& depth, bool& finished)
    {
        if (startsWith ("<!"))
            return "a declaration inside an element";

        if (startsWith ("</"))
        {
            p += 2;
            const auto name = readName();
            skipWhiteSpace();

            if (p == end)
                return incomplete();

            if (*p != '>' || depth == 0 || !(name == open[(size_t) depth - 1]))
                return "a closing tag that does not match its element";

            ++p;
            finished = --depth == 0;
            return {};
        }

        ++p;
        const auto name = readName();

        if (name.length == 0)
            return p == end ? incomplete() : juce::String ("an element without a name");

        if (depth >= maxXmlDocumentDepth)
            return "elements nested deeper than " + juce::String (maxXmlDocumentDepth) + " levels";

        bool closed = false;

        for (;;)
        {
            skipWhiteSpace();

            if (p == end)
                return incomplete();

            if (*p == '>')
            {
                ++p;
                break;
            }

            if (*p == '/')
            {
                if (end - p < 2)
                    return incomplete();

                if (p[1] != '>')
                    return "a malformed tag";

                p += 2;
                closed = true;
                break;
            }

            const auto attribute = readName();
            skipWhiteSpace();

            if (p == end)
                return incomplete();

            if (attribute.length == 0 || *p != '=')
                return "a malformed attribute";

            ++p;
            skipWhiteSpace();

            if (p == end)
                return incomplete();

            const char quote = *p;

            if (quote != '"' && quote != '\'')
                return "an attribute value without quotes";

            const auto* closing = static_cast<const char*> (std::memchr (p + 1, quote, (size_t) (end - p - 1)));

            if (closing == nullptr)
                return incomplete();

            p = closing + 1;
        }

        if (!closed)
            open[(size_t) depth++] = name;
        else
            finished = depth == 0;

        return {};
    }

    static juce::String incomplete() { return "the document ends before its last element is closed"; }

    static bool isNameCharacter (char c)
    {
        return (unsigned char) c >= 0x80 || juce::CharacterFunctions::isLetterOrDigit (c) || c == '_' || c == '-' || c == ':' || c == '.';
    }

    Name readName()
    {
        Name name{p, 0};

        while (p != end && isNameCharacter (*p))
            ++p;

        name.length = (size_t) (p - name.start);
        return name;
    }

    void skipWhiteSpace()
    {
        while (p != end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
            ++p;
    }

    bool startsWith (const char* literal) const
    {
        const auto length = std::strlen (literal);
        return (size_t) (end - p) >= length && std::memcmp (p, literal, length) == 0;
    }

    bool skipPast (const char* literal)
    {
        const auto length = std::strlen (literal);

        for (auto* q = p; (size_t) (end - q) >= length; ++q)
        {
            if (std::memcmp (q, literal, length) == 0)
            {
                p = q + length;
                return true;
            }
        }

        return false;
    }

    const char* p;
    const char* const end;
    Name open[maxXmlDocumentDepth];
};
} // namespace

juce::String checkXmlText (const juce::String& text)
{
    const auto numBytes = text.getNumBytesAsUTF8();

    if (numBytes > maxXmlDocumentBytes)
        return "larger than " + juce::String ((juce::int64) maxXmlDocumentBytes) + " bytes";

    return XmlStructureScan (text.toRawUTF8(), numBytes).run();
}

std::unique_ptr<juce::XmlElement> parseXmlText (const juce::String& text, juce::String* error)
{
    auto refuse = [error] (const juce::String& reason)
    {
        if (error != nullptr)
            *error = reason;

        return std::unique_ptr<juce::XmlElement>();
    };

    const auto reason = checkXmlText (text);

    if (reason.isNotEmpty())
        return refuse (reason);

    juce::XmlDocument document (text);
    auto element = document.getDocumentElement();

    if (element == nullptr)
        return refuse ("not XML: " + document.getLastParseError());

    if (error != nullptr)
        error->clear();

    return element;
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
        return refuse ("larger than " + juce::String ((juce::int64) maxXmlDocumentBytes) + " bytes");

    juce::MemoryBlock data;

    if (!file.loadFileAsData (data))
        return refuse ("cannot be read");

    const auto* bytes = static_cast<const char*> (data.getData());
    auto size = data.getSize();

    if (size >= 2 && (juce::CharPointer_UTF16::isByteOrderMarkBigEndian (bytes) || juce::CharPointer_UTF16::isByteOrderMarkLittleEndian (bytes)))
        return parseXmlText (data.toString(), error);

    if (size >= 3 && juce::CharPointer_UTF8::isByteOrderMark (bytes))
    {
        bytes += 3;
        size -= 3;
    }

    // A zero byte ends the text, as it does for the parser.
    size = (size_t) (std::find (bytes, bytes + size, '\0') - bytes);

    if (!juce::CharPointer_UTF8::isValidString (bytes, (int) size))
        return refuse ("not UTF-8 text");

    return parseXmlText (juce::String::fromUTF8 (bytes, (int) size), error);
}
