#include "framework/XmlDocuments.h"

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

        if (! out.openedOk())
            return false;

        element.writeTo (out, format);
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
}

std::unique_ptr<juce::XmlElement> parseXmlDocument (const juce::File& file)
{
    if (! file.existsAsFile())
        return nullptr;

    return juce::XmlDocument::parse (file);
}
