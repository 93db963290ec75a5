// The exported entry point of a plug-in binary and the factory each deliverable provides.
#pragma once

#include "vst/AudioEffect.h"

// Builds one instance for the host; null when it cannot. Defined by each deliverable.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

// Exported as "VSTPluginMain" and, as an alias of the same function, "main". Refuses a host
// that answers 0 to audioMasterVersion.
extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster);
