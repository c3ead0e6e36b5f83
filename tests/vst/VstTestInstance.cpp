#include "VstTestProcessor.h"
#include "vst/VstInstanceFor.h"

// The test plug-in's instance: the test processor, which has no start-up stages.
std::unique_ptr<VstInstance> createVstInstance()
{
    return std::make_unique<VstInstanceFor<VstTestProcessor>> (std::make_unique<VstTestProcessor>());
}
