#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace pulsaret_vst_test
{
namespace fs = std::filesystem;

struct Settings
{
    bool internalSequencer = true;
    bool internalSync = true;
    bool hostMode = false;
    bool mono = false;
};

inline std::string onOff (bool on)
{
    return on ? "on" : "off";
}

// A private copy of the library with its settings file beside it.
class PluginCopy
{
public:
    explicit PluginCopy (const Settings& settings)
    {
        static std::atomic<int> count{0};
        folder = fs::temp_directory_path() / ("pulsaret-vst-test-" + std::to_string (::getpid()) + "-" + std::to_string (count++));
        fs::create_directories (folder);
        fs::copy_file (PULSARET_PLUGIN, getPath(), fs::copy_options::overwrite_existing);

        std::ofstream ini (folder / "Pulsaret.ini");
        ini << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UserSettings application=\"Pulsaret\">\n"
            << "  <AudioOutputSettings><OutCharacteristics type=\"" << (settings.mono ? "mono" : "stereo")
            << "\"/></AudioOutputSettings>\n  <InternalSequencer>\n"
            << "    <IntSeq state=\"" << onOff (settings.internalSequencer) << "\"/>\n"
            << "    <IntSync state=\"" << onOff (settings.internalSync) << "\"/>\n"
            << "    <HostMode state=\"" << onOff (settings.hostMode) << "\"/>\n"
            << "    <NoteOff state=\"off\"/>\n    <HostPlayDetection type=\"byTransportChange\"/>\n"
            << "  </InternalSequencer>\n</UserSettings>\n";
    }

    ~PluginCopy()
    {
        std::error_code ignored;
        fs::remove_all (folder, ignored);
    }

    fs::path getPath() const { return folder / "Pulsaret.so"; }

private:
    fs::path folder;
};

} // namespace pulsaret_vst_test
