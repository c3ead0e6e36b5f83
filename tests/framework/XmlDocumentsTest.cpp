#include "tests/TempFolder.h"

#include "framework/XmlDocuments.h"

#include <gtest/gtest.h>

namespace
{
juce::String nested (int levels)
{
    juce::String text = "<x a='1'/>";

    for (int i = 1; i < levels; ++i)
        text = "<n>" + text + "</n>";

    return text;
}
} // namespace

TEST (XmlDocuments, OnlyWholeDocumentsWithinTheBoundsReachTheParser)
{
    const struct
    {
        juce::String text;
        bool accepted;
    } cases[] = {
        {"<a/>", true},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- c --><a x=\"1 > 0\" y='</b>'>t &amp; &gt; <b/><![CDATA[</a><c>]]><?pi ?></a>\n<!-- end -->\n", true},
        {"<a><b></b ></a>", true},
        {nested (maxXmlDocumentDepth), true},
        {nested (maxXmlDocumentDepth + 1), false},
        {"", false},
        {"  \n ", false},
        {"<a>", false},
        {"<a></a", false},
        {"<a><b></a></b>", false},
        {"<a><b></", false},
        {"<a><b x=\"1/></b></a>", false},
        {"<a x=1/>", false},
        {"<a x/>", false},
        {"<a/ >", false},
        {"< a/>", false},
        {"<a/><b/>", false},
        {"<a/>text", false},
        {"text<a/>", false},
        {"<a><!-- </a>", false},
        {"<a><![CDATA[ </a>", false},
        {"<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", false},
        {"<a><!DOCTYPE a></a>", false},
    };

    for (const auto& c : cases)
    {
        juce::String error = "unset";
        auto element = parseXmlText (c.text, &error);
        EXPECT_EQ (element != nullptr, c.accepted) << c.text.substring (0, 80) << ": " << error;
        EXPECT_EQ (error.isEmpty(), c.accepted) << c.text.substring (0, 80);
    }

    // Deep nesting is refused before the parser recurses.
    juce::String error;
    EXPECT_EQ (parseXmlText (juce::String::repeatedString ("<a>", 30000) + "<b/>", &error), nullptr);
    EXPECT_EQ (error, "elements nested deeper than 32 levels");
    EXPECT_EQ (checkXmlText ("<a><b>"), "the document ends before its last element is closed");
}

TEST (XmlDocuments, FilesAreBoundedBeforeTheyAreRead)
{
    TempFolder temp;
    const auto file = temp.file ("a.xml");
    juce::String error;

    EXPECT_EQ (parseXmlDocument (file, &error), nullptr);
    EXPECT_EQ (error, "no such file");

    const char utf8[] = "\xef\xbb\xbf<a b=\"\xc3\xa9\"/>\n";
    ASSERT_TRUE (file.replaceWithData (utf8, sizeof (utf8) - 1));
    auto element = parseXmlDocument (file, &error);
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getStringAttribute ("b"), juce::String::fromUTF8 ("\xc3\xa9"));

    // Just past the bound, though the document inside is whole.
    {
        juce::FileOutputStream out (file);
        out.setPosition (0);
        out.truncate();
        out << "<a/>";
        out.writeRepeatedByte ('\n', maxXmlDocumentBytes - 3);
    }

    EXPECT_EQ (parseXmlDocument (file, &error), nullptr);
    EXPECT_TRUE (error.startsWith ("larger than")) << error;

    const char invalid[] = {'<', 'a', ' ', 'b', '=', '"', (char) 0xff, '"', '/', '>'};
    ASSERT_TRUE (file.replaceWithData (invalid, sizeof (invalid)));
    EXPECT_EQ (parseXmlDocument (file, &error), nullptr);
    EXPECT_EQ (error, "not UTF-8 text");
}
