#include "tests/TempFolder.h"
#include "tests/framework/PresetTestPlugin.h"

#include "framework/EmbeddedResources.h"
#include "framework/XmlDocuments.h"

#include <gtest/gtest.h>

namespace
{
juce::String nested (int levels)
{
    return juce::String::repeatedString ("<n>", levels - 1) + "<x a='1'/>" + juce::String::repeatedString ("</n>", levels - 1);
}

juce::String singleLine (const juce::XmlElement& element)
{
    return element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
}

template <size_t n>
std::string bytes (const char (&literal)[n])
{
    return std::string (literal, n - 1);
}

juce::String asFile (const juce::XmlElement& element)
{
    juce::XmlElement::TextFormat format;
    format.lineWrapLength = 60;
    return element.toString (format);
}
} // namespace

TEST (XmlDocuments, ReadsWhatJucesParserReadsAsItReadsIt)
{
    PresetTestPlugin plugin;
    plugin.start();
    const auto state = plugin.createPluginStateXml();
    ASSERT_NE (state, nullptr);

    juce::StringArray texts{singleLine (*state), asFile (*state),
                            "<?xml version=\"1.0\"?>\n<!-- c --><?pi x?>\n<a x=\"1 &gt; 0\" y='&quot;&apos;&lt;&amp;'>  t &amp; &#x41;&#66; <!-- c --> u\r\n"
                            "<b/>\n  \n<![CDATA[</a> & ]]><![CDATA[]]><![CDATA[ ]]>v<?pi?><c>&#10;</c>&#x20;<d>\xc3\xa9\xe2\x82\xac</d></a>\n<!-- end -->\n"};

    for (const auto* name : {"parameters.xml", "events.xml", "default.PXprs", "default.PXprsb", "default.PXptrb", "default.PXdrmap", "skin.xml"})
        texts.add (loadXmlResource (name));

    // Each text, and what JUCE's writer makes of JUCE's tree of it, on one line and as a file.
    for (const auto& original : texts)
    {
        const auto tree = juce::XmlDocument::parse (original);
        ASSERT_NE (tree, nullptr) << original.substring (0, 80);

        for (const auto& text : {original, singleLine (*tree), asFile (*tree)})
        {
            const auto expected = juce::XmlDocument::parse (text);
            ASSERT_NE (expected, nullptr) << text.substring (0, 80);
            juce::String error = "unset";
            const auto element = parseXmlText (text, &error);
            ASSERT_NE (element, nullptr) << text.substring (0, 80) << ": " << error;
            EXPECT_EQ (error, "");
            EXPECT_TRUE (element->isEquivalentTo (expected.get(), false)) << text.substring (0, 80);
            EXPECT_EQ (singleLine (*element), singleLine (*expected)) << text.substring (0, 80);
        }
    }
}

TEST (XmlDocuments, RefusesWhatIsNotOneWellFormedDocumentWithinTheBounds)
{
    const auto attributes = [] (int count)
    {
        juce::String text = "<a";

        for (int i = 0; i < count; ++i)
            text << " a" << i << "=''";

        return text + "/>";
    };

    const struct
    {
        juce::String text;
        juce::String error; // empty: accepted
    } cases[] = {
        {"<a/>", ""},
        {nested (maxXmlDocumentDepth), ""},
        {nested (maxXmlDocumentDepth + 1), "elements nested deeper than 32 levels at line 1"},
        {juce::String::repeatedString ("<a>\n", 100000), "elements nested deeper than 32 levels at line 33"},
        {attributes (maxXmlElementAttributes), ""},
        {attributes (maxXmlElementAttributes + 1), "more than 64 attributes on one element at line 1"},
        {"<PatternBank><?x?>y</PatternBank>", ""},
        {"<a>" + juce::String::repeatedString ("<a>&#x</a>", 30000) + "</a>", "not XML: not well-formed (invalid token) at line 1"},
        {"<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", "a document type declaration at line 1"},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE a [<!ENTITY e SYSTEM \"/etc/hostname\">]><a>&e;</a>", "a document type declaration at line 2"},
        {"<a>&e;</a>", "not XML: undefined entity at line 1"},
        {"<a>&AMP;</a>", "not XML: undefined entity at line 1"},
        {"<a>&#1;</a>", "not XML: reference to invalid character number at line 1"},
        {"<a>\n<b>\n</a>", "not XML: mismatched tag at line 3"},
        {"<a x='1' x='2'/>", "not XML: duplicate attribute at line 1"},
        {"<a x=1/>", "not XML: not well-formed (invalid token) at line 1"},
        {"<a/>text", "not XML: junk after document element at line 1"},
        {"<a/><b/>", "not XML: junk after document element at line 1"},
        {"", "not XML: no element found at line 1"},
        {"<a><![CDATA[ </a>", "not XML: unclosed CDATA section at line 1"},
        {"<a>" + juce::String::repeatedString (" ", (int) maxXmlDocumentBytes) + "</a>", "larger than 8388608 bytes"},
    };

    for (const auto& c : cases)
    {
        juce::String error = "unset";
        const auto element = parseXmlText (c.text, &error);
        EXPECT_EQ (element != nullptr, c.error.isEmpty()) << c.text.substring (0, 80);
        EXPECT_EQ (error, c.error) << c.text.substring (0, 80);
    }

    // Bytes as they lie in a chunk: read up to the length given, checked as UTF-8 by the parser.
    juce::String error = "unset";
    EXPECT_NE (parseXmlUtf8 ("<a/>junk", 4, &error), nullptr);
    EXPECT_EQ (error, "");
    EXPECT_EQ (parseXmlUtf8 ("<a b='\xff'/>", 10, &error), nullptr);
    EXPECT_EQ (error, "not XML: not well-formed (invalid token) at line 1");

    // A processing instruction ends a run of text; JUCE's parser loops for ever on this.
    const auto bank = parseXmlText ("<PatternBank>x<?x?>y</PatternBank>");
    ASSERT_NE (bank, nullptr);
    EXPECT_EQ (singleLine (*bank), "<PatternBank>xy</PatternBank>");
    EXPECT_EQ (bank->getNumChildElements(), 2);

    // Wide documents read in linear time (the test's time-out catches a quadratic build).
    const auto wide = parseXmlText ("<a>" + juce::String::repeatedString ("<b/>t", 300000) + "</a>");
    ASSERT_NE (wide, nullptr);
    EXPECT_EQ (wide->getNumChildElements(), 600000);
    EXPECT_EQ (wide->getChildElement (599999)->getText(), "t");
}

TEST (XmlDocuments, FilesAreBoundedAndReadInTheirOwnEncoding)
{
    TempFolder temp;
    const auto file = temp.file ("a.xml");
    juce::String error;

    EXPECT_EQ (parseXmlDocument (file, &error), nullptr);
    EXPECT_EQ (error, "no such file");

    const auto eAcute = juce::String::fromUTF8 ("\xc3\xa9");
    const struct
    {
        std::string bytes;
        juce::String error; // empty: reads <a b="é"/>
    } cases[] = {
        {bytes ("\xef\xbb\xbf<a b=\"\xc3\xa9\"/>\n"), ""},
        {bytes ("<a b=\"\xc3\xa9\"/>\n\0\0junk"), ""},
        {bytes ("\xff\xfe<\0a\0 \0b\0=\0\"\0\xe9\0\"\0/\0>\0"), ""},
        {bytes ("\xfe\xff\0<\0a\0 \0b\0=\0\"\0\xe9\0\"\0/\0>"), ""},
        {bytes ("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a b=\"\xe9\"/>"), ""},
        {bytes ("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a b=\"\xc3\xa9\"/>"), ""},
        {bytes ("<a b=\"\xff\"/>"), "not XML: not well-formed (invalid token) at line 1"},
    };

    for (const auto& c : cases)
    {
        ASSERT_TRUE (file.replaceWithData (c.bytes.data(), c.bytes.size()));
        error = "unset";
        const auto element = parseXmlDocument (file, &error);
        EXPECT_EQ (error, c.error) << c.bytes;

        if (c.error.isEmpty())
        {
            ASSERT_NE (element, nullptr) << c.bytes;
            EXPECT_EQ (element->getStringAttribute ("b"), eAcute) << c.bytes;
        }
    }

    // Text in memory is Unicode already: its declaration names no encoding to convert from.
    const auto declared = parseXmlText ("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a b=\"" + eAcute + "\"/>");
    ASSERT_NE (declared, nullptr);
    EXPECT_EQ (declared->getStringAttribute ("b"), eAcute);

    // Just past the bound, though the document inside is whole.
    {
        juce::FileOutputStream out (file);
        out.setPosition (0);
        out.truncate();
        out << "<a/>";
        out.writeRepeatedByte ('\n', maxXmlDocumentBytes - 3);
    }

    EXPECT_EQ (parseXmlDocument (file, &error), nullptr);
    EXPECT_EQ (error, "larger than 8388608 bytes");
}
