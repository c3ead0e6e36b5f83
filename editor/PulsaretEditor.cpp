#include "editor/PulsaretEditor.h"

#include "drummachine/Pulsaret.h"
#include "editor/AboutWindow.h"
#include "editor/OptionsWindow.h"

PulsaretEditor::PulsaretEditor (Pulsaret& plugin)
    : DrumMachineEditor (plugin)
{
    if (auto* about = getAboutWindow())
        about->setSize (550, 300);

    if (auto* options = getOptionsWindow())
        options->setSize (640, 480);
}

PulsaretEditor::~PulsaretEditor() = default;

void PulsaretEditor::install()
{
    Pulsaret::setEditorFactory ([] (Pulsaret& plugin) -> std::unique_ptr<PluginEditorComponent>
                                { return std::make_unique<PulsaretEditor> (plugin); });
}
