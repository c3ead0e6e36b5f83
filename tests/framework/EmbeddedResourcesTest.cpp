#include "framework/EmbeddedResources.h"
#include "framework/EmbeddedResourceTable.h"

#include <gtest/gtest.h>

TEST (EmbeddedResources, EmbeddedBytesEqualTheFilesInResources)
{
    // The two font files are copied in by the build from the system, not kept in resources/.
    const juce::File fontFolder ("/usr/share/wine/fonts");
    const juce::StringArray systemFonts{"tahoma.ttf", "tahomabd.ttf"};
    int count = 0;

    for (auto* r = embeddedResources; r->type != nullptr; ++r)
    {
        juce::MemoryBlock onDisk;
        const bool isFont = systemFonts.contains (r->fileName);
        count += isFont ? 0 : 1;
        const auto file = juce::File (isFont ? fontFolder.getFullPathName() : juce::String (PULSARET_RESOURCES_DIR))
                              .findChildFiles (juce::File::findFiles, !isFont, r->fileName);
        ASSERT_EQ (file.size(), 1) << r->fileName;
        ASSERT_TRUE (file[0].loadFileAsData (onDisk));
        EXPECT_EQ (onDisk, juce::MemoryBlock (r->data, r->size)) << r->fileName;
    }

    const auto files = juce::File (PULSARET_RESOURCES_DIR).findChildFiles (juce::File::findFiles, true, "*");
    int visible = 0;
    for (auto& f : files)
        visible += f.getFileName().startsWithChar ('.') ? 0 : 1;
    EXPECT_EQ (count, visible);
}

TEST (EmbeddedResources, LookUpByLogicalNameIgnoringCase)
{
    auto text = loadXmlResource ("parameters.xml");
    ASSERT_TRUE (text.isNotEmpty());
    EXPECT_EQ (loadXmlResource ("PARAMETERS.XML"), text);
    EXPECT_EQ (loadXmlResource ("Parameters.Xml"), text);

    ASSERT_NE (getResourceData ("parameters.xml"), nullptr);
    EXPECT_EQ (getResourceData ("parameters.xml")->toString(), text);

    EXPECT_TRUE (loadXmlResource ("parameters").isEmpty());
    EXPECT_TRUE (loadXmlResource ("xml").isEmpty());
    EXPECT_TRUE (loadXmlResource ("missing.xml").isEmpty());
    EXPECT_TRUE (loadXmlResource ("parameters.xml.bak").isEmpty());
    EXPECT_EQ (getResourceData ("missing.xml"), nullptr);

    juce::Image image (juce::Image::ARGB, 3, 3, true);
    EXPECT_FALSE (loadImageResource ("missing.png", image));
    EXPECT_EQ (image.getWidth(), 3);
}

TEST (EmbeddedResources, SplitAtTheLastDotAndEmptyResources)
{
    static const unsigned char bytes[] = {'a', 'b', 'c'};
    static const unsigned char none[] = {0};
    const EmbeddedResource table[] = {
        {"XML", "FACTORY.BANK", "factory.bank.xml", bytes, sizeof (bytes)},
        {"PXPRSB", "DEFAULT", "Default.PXprsb", bytes, sizeof (bytes)},
        {"PNG", "EMPTY", "Empty.png", none, 0},
        {"PNG", "GARBAGE", "Garbage.png", bytes, sizeof (bytes)},
        {nullptr, nullptr, nullptr, nullptr, 0},
    };

    EXPECT_EQ (findEmbeddedResource (table, "factory.bank.xml"), &table[0]);
    EXPECT_EQ (findEmbeddedResource (table, "FACTORY.Bank.Xml"), &table[0]);
    EXPECT_EQ (findEmbeddedResource (table, "factory.bank"), nullptr);
    EXPECT_EQ (findEmbeddedResource (table, "bank.xml"), nullptr);
    EXPECT_EQ (findEmbeddedResource (table, "default.pxprsb"), &table[1]);
    EXPECT_EQ (findEmbeddedResource (table, "PXPRSB"), nullptr);
    EXPECT_EQ (findEmbeddedResource (table, ".PXPRSB"), nullptr);
    EXPECT_EQ (findEmbeddedResource (table, ""), nullptr);

    EXPECT_EQ (getResourceText (&table[0]), "abc");
    ASSERT_NE (copyResourceData (&table[1]), nullptr);
    EXPECT_EQ (copyResourceData (&table[1])->getSize(), 3u);

    // An empty resource gives no data, no text and no image.
    auto* empty = findEmbeddedResource (table, "empty.png");
    ASSERT_EQ (empty, &table[2]);
    EXPECT_EQ (copyResourceData (empty), nullptr);
    EXPECT_TRUE (getResourceText (empty).isEmpty());
    juce::Image image (juce::Image::ARGB, 3, 3, true);
    EXPECT_FALSE (decodeResourceImage (empty, image));
    EXPECT_EQ (image.getWidth(), 3);

    // Bytes that are no image: found, but the image is null.
    EXPECT_TRUE (decodeResourceImage (findEmbeddedResource (table, "garbage.png"), image));
    EXPECT_TRUE (image.isNull());

    EXPECT_EQ (copyResourceData (nullptr), nullptr);
    EXPECT_TRUE (getResourceText (nullptr).isEmpty());
}
