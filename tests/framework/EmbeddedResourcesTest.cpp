#include "framework/EmbeddedResourceTable.h"
#include "framework/EmbeddedResources.h"

#include <gtest/gtest.h>

TEST (EmbeddedResources, EmbeddedBytesEqualTheFilesInResources)
{
    // The two font files are copied in by the build from the system, not kept in resources/.
    const juce::File fontFolder ("/usr/share/wine/fonts");
    const juce::StringArray systemFonts { "tahoma.ttf", "tahomabd.ttf" };
    int count = 0;

    for (auto* r = embeddedResources; r->type != nullptr; ++r)
    {
        juce::MemoryBlock onDisk;
        const bool isFont = systemFonts.contains (r->fileName);
        count += isFont ? 0 : 1;
        const auto file = juce::File (isFont ? fontFolder.getFullPathName() : juce::String (PULSARET_RESOURCES_DIR))
                              .findChildFiles (juce::File::findFiles, ! isFont, r->fileName);
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
