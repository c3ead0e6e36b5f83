#include "framework/EmbeddedResources.h"
#include "gui/DefaultLookAndFeel.h"
#include "gui/EmbeddedFonts.h"
#include "gui/ToolkitImages.h"
#include "gui/controls/PlainTextButton.h"
#include "gui/controls/ToolkitDrawing.h"
#include "gui/widgets/TextButtonEx.h"

#include <gtest/gtest.h>

namespace
{
struct ColourDefault
{
    int id;
    juce::uint32 argb;
};

const ColourDefault colourDefaults[] = {
    {0x01001312, 0xff000000},
    {0x01001311, 0xff808080},
    {0x01001C10, 0xff444444},
    {0x01001C00, 0xff000000},
    {0x0F001000, 0xffc5c5c5},
    {0x0F001001, 0xff444444},
    {0x0F001002, 0xff444444},
    {0x0F001003, 0xffffffff},
    {0x0F001004, 0xffffffff},
    {0, 0xff000000},
    {1, 0xffffffff},
    {2, 0xffffffff},
    {3, 0xffffff00},
    {0x0F001100, 0xffc5c5c5},
    {0x0F001101, 0xffe3e3e3},
    {0x0F001102, 0xffffffff},
    {0x0F001103, 0xffe3e3e3},
    {0x0F001104, 0xff000000},
    {0x0F001105, 0xffadadad},
    {0x0F001106, 0xffffffff},
    {0x0F001107, 0xff5b5b5b},
    {0x0F001108, 0xffffffff},
    {0x0F003100, 0xffc5c5c5},
    {0x0F003101, 0xffe3e3e3},
    {0x0F003102, 0xffffffff},
    {0x0F003103, 0xffe3e3e3},
    {0x0F003104, 0xff000000},
    {0x0F003105, 0xffadadad},
    {0x0F003106, 0xffffffff},
    {0x0F003107, 0xff5b5b5b},
    {0x0F003108, 0xffffffff},
    {0x0F002100, 0xff000000},
    {0x0F002101, 0xffffffff},
    {0x0F002102, 0xff000000},
    {0x0F002103, 0xffb2b2b2},
    {0x0F002104, 0xff7f7f7f},
    {0x01000400, 0xff6e6e6e},
    {0x01000401, 0xffcccccc},
    {0x0F002200, 0xffe3e3e3},
    {0x0F002201, 0xff000000},
    {0x0F002202, 0xffffffff},
    {0x0F003000, 0xffc5c5c5},
    {0x0F003001, 0xff000000},
    {0x0F003002, 0xff5b5b5b},
    {0x0F004001, 0xff444444},
    {0x0F004002, 0xffffffff},
    {0x0F000000, 0xffe3e3e3},
};
} // namespace

TEST (DefaultLookAndFeel, ColourDefaultsAreExact)
{
    DefaultLookAndFeel laf;

    for (const auto& c : colourDefaults)
    {
        ASSERT_TRUE (laf.isColourSpecified (c.id)) << std::hex << c.id;
        EXPECT_EQ (laf.findColour (c.id).getARGB(), c.argb) << std::hex << c.id;
    }
}

TEST (DefaultLookAndFeel, MetricsAndFonts)
{
    DefaultLookAndFeel laf;

    EXPECT_EQ (laf.getCheckBoxGap(), 5);
    EXPECT_EQ (laf.getRadioTitleIndent(), 13);
    EXPECT_EQ (laf.getRadioTitlePadding(), 4);
    EXPECT_EQ (laf.getRadioLeftMargin(), 6);
    EXPECT_EQ (laf.getRadioVerticalMargin(), 2);
    EXPECT_EQ (laf.getRadioRowHeight(), 20);
    EXPECT_FLOAT_EQ (laf.getRadioFrameCornerSize(), 4.0f);
    EXPECT_EQ (laf.getRadioTextGap(), 6);
    EXPECT_EQ (laf.getPanelTitleIndent(), 13);
    EXPECT_EQ (laf.getPanelTitlePadding(), 4);
    EXPECT_EQ (laf.getPanelBorder(), juce::BorderSize<int> (18, 8, 8, 8));
    EXPECT_EQ (laf.getTabBarDepth(), 23);
    EXPECT_EQ (laf.getTabBarIndent(), 8);
    EXPECT_EQ (laf.getStatusBarHeight(), 16);
    EXPECT_EQ (laf.getStandardIconSize(), 1);
    EXPECT_EQ (laf.getStandardButtonIconSize(), 1);
    EXPECT_EQ (laf.getDefaultScrollbarWidth(), 13);

    const auto plain = laf.getDefaultFont();
    const auto bold = laf.getRadioGroupTitleFont();
    EXPECT_EQ (plain.getTypefaceName(), "Tahoma");
    EXPECT_FLOAT_EQ (plain.getHeight(), 13.0f);
    EXPECT_FALSE (plain.isBold());
    EXPECT_EQ (bold.getTypefaceName(), "Tahoma");
    EXPECT_FLOAT_EQ (bold.getHeight(), 13.0f);
    EXPECT_TRUE (bold.isBold());

    // The embedded faces answer "Tahoma", so text measures the same everywhere,
    // also for fonts made by name and routed through the look and feel.
    ASSERT_NE (EmbeddedFonts::getTypefaceFor (plain), nullptr);
    EXPECT_EQ (laf.getTypefaceForFont (juce::Font ("Tahoma", 13.0f, juce::Font::bold)).get(),
               EmbeddedFonts::getTypefaceFor (bold).get());
    EXPECT_EQ (plain.getTypefacePtr()->getName(), "Tahoma");
    EXPECT_EQ (bold.getTypefacePtr()->getStyle(), "Bold");
    EXPECT_GT (bold.getStringWidthFloat ("Browse"), plain.getStringWidthFloat ("Browse"));

    // Bold text is heavier, not only wider: it puts clearly more ink on the page.
    auto ink = [] (const juce::Font& font)
    {
        juce::Image image (juce::Image::ARGB, 80, 20, true);
        {
            juce::Graphics g (image);
            g.setColour (juce::Colours::black);
            g.setFont (font);
            g.drawSingleLineText ("Browse", 2, 15);
        }

        float sum = 0.0f;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                sum += image.getPixelAt (x, y).getFloatAlpha();

        return sum;
    };
    EXPECT_GT (ink (bold), 1.3f * ink (plain));
}

TEST (DefaultLookAndFeel, ButtonImages)
{
    DefaultLookAndFeel laf;

    EXPECT_EQ (laf.getCheckBoxUntickedImage().getBounds(), laf.getCheckBoxTickedImage().getBounds());
    EXPECT_TRUE (laf.getRadioButtonTickedImage().isValid());

    auto close = laf.createImageButton ("CloseButton", 0);
    ASSERT_NE (close, nullptr);
    EXPECT_EQ (close->getWidth(), 27);
    EXPECT_EQ (close->getHeight(), 27);
    EXPECT_EQ (close->getNormalImage().getWidth(), 27);
    EXPECT_EQ (close->getDownImage().getWidth(), 27);

    auto large = laf.createImageButton ("Large", 0, 2);
    ASSERT_NE (large, nullptr);
    EXPECT_EQ (large->getWidth(), 43);
    EXPECT_EQ (large->getHeight(), 43);

    EXPECT_NE (laf.createImageButton ("Last", 16), nullptr);
    EXPECT_EQ (laf.createImageButton ("None", 17), nullptr);

    const auto& slices = laf.getTextButtonSlices (0);
    for (const auto& image : slices)
        EXPECT_TRUE (image.isValid());
    EXPECT_EQ (slices[0].getHeight(), slices[2].getHeight());
}

TEST (DefaultLookAndFeel, RoundedOutlineStaysInsideItsArea)
{
    // Thickness 3 on (10, 10, 100, 50): the path runs on (11.5, 11.5, 97, 47),
    // so the stroke covers x 10 .. 13 on the left and nothing outside the area.
    juce::Image image (juce::Image::ARGB, 120, 70, true);
    {
        juce::Graphics g (image);
        g.setColour (juce::Colours::red);
        ToolkitDrawing::drawRoundedOutline (g, {10.0f, 10.0f, 100.0f, 50.0f}, 4.0f, 3.0f);
    }

    EXPECT_EQ (image.getPixelAt (9, 35).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (10, 35).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (12, 35).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (13, 35).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (109, 35).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (110, 35).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (60, 10).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (60, 9).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (60, 59).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (60, 60).getAlpha(), 0);
}

TEST (DefaultLookAndFeel, OneOwnerAndTextButtons)
{
    // Held by its one owner only: nothing else deletes it at shut-down.
    static_assert (!std::is_base_of<juce::DeletedAtShutdown, DefaultLookAndFeel>::value);

    auto laf = std::make_unique<DefaultLookAndFeel>();
    std::unique_ptr<TextButtonEx> button (laf->createTextButton ("Browse", 0));
    ASSERT_NE (button, nullptr);
    const auto& slices = laf->getTextButtonSlices (0);
    EXPECT_EQ (button->getLeftMargin(), slices[0].getWidth());
    EXPECT_EQ (button->getRightMargin(), slices[2].getWidth());
    EXPECT_EQ (button->getButtonHeight(), slices[0].getHeight());
    EXPECT_EQ (laf->createTextButton ("None", 17), nullptr);

    std::unique_ptr<TextButtonEx> large (laf->createTextButton ("Large", 3, 2));
    ASSERT_NE (large, nullptr);
    EXPECT_GT (large->getButtonHeight(), button->getButtonHeight());

    // A button under it takes its font and slices; reset before the look and feel goes.
    TextButtonEx styled ("Yes", 2);
    styled.setLookAndFeel (laf.get());
    EXPECT_EQ (styled.getFont().getTypefaceName(), "Tahoma");
    EXPECT_TRUE (styled.getFont().isBold());
    EXPECT_EQ (styled.getHeight(), laf->getTextButtonSlices (2)[0].getHeight());
    styled.setLookAndFeel (nullptr);

    // The windows' own text button looks the same and leaves the keyboard to the host.
    PlainTextButton plain ("Yes", 2);
    plain.setLookAndFeel (laf.get());
    EXPECT_EQ (plain.getFont(), styled.getFont());
    EXPECT_EQ (plain.getBounds(), styled.getBounds());
    EXPECT_FALSE (plain.getWantsKeyboardFocus());
    plain.setLookAndFeel (nullptr);
    laf.reset();
}

TEST (ToolkitImages, EveryImageIsEmbeddedAtItsSize)
{
    for (const bool ticked : {false, true})
    {
        const auto check = ToolkitImages::checkBox (ticked);
        const auto radio = ToolkitImages::radioButton (ticked);
        ASSERT_TRUE (check.isValid() && radio.isValid());
        EXPECT_EQ (check.getBounds(), ToolkitImages::checkBox (!ticked).getBounds());
        EXPECT_EQ (radio.getBounds(), check.getBounds());
    }

    for (int icon = 0; icon < ToolkitImages::numIcons; ++icon)
        for (const bool large : {false, true})
            for (const bool pressed : {false, true})
            {
                const auto image = ToolkitImages::iconButton (icon, large, pressed);
                const int size = large ? 43 : 27;
                EXPECT_EQ (image.getBounds(), juce::Rectangle<int> (size, size)) << icon << large << pressed;
            }

    for (int set = 0; set < ToolkitImages::numTextButtonSets; ++set)
        for (const auto& slice : ToolkitImages::textButtonSlices (set))
            EXPECT_TRUE (slice.isValid()) << set;

    // The box images keep their fixed file sizes.
    const std::pair<juce::String, size_t> sizes[] = {{"tkCheckBoxOff.png", 494}, {"tkCheckBoxOn.png", 561}, {"tkRadioOff.png", 548}, {"tkRadioOn.png", 599}, {"tkPresetRowOff.png", 428}, {"tkPresetRowOn.png", 418}};
    for (const auto& [name, bytes] : sizes)
    {
        auto data = getResourceData (name);
        ASSERT_NE (data, nullptr) << name;
        EXPECT_EQ (data->getSize(), bytes) << name;
    }

    EXPECT_EQ (ToolkitImages::titleIcon().getBounds(), juce::Rectangle<int> (24, 24));
    EXPECT_EQ (ToolkitImages::presetRowIcon (false).getBounds(), juce::Rectangle<int> (14, 14));
    EXPECT_EQ (ToolkitImages::presetRowIcon (true).getBounds(), juce::Rectangle<int> (14, 14));
    EXPECT_EQ (ToolkitImages::edgeStrip (1).getBounds(), juce::Rectangle<int> (40, 10));
    EXPECT_EQ (ToolkitImages::edgeStrip (2).getBounds(), juce::Rectangle<int> (40, 10));
    EXPECT_EQ (ToolkitImages::edgeStrip (3).getBounds(), juce::Rectangle<int> (10, 40));
    EXPECT_EQ (ToolkitImages::edgeStrip (4).getBounds(), juce::Rectangle<int> (10, 40));
    EXPECT_FALSE (ToolkitImages::edgeStrip (5).isValid());
    EXPECT_FALSE (ToolkitImages::iconButton (17, false, false).isValid());
}
