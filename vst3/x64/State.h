// The processor's state, which the controller also reads: the VST 2.x plug-in's bank chunk,
// byte for byte as effGetChunk gives it, followed by a 12-byte trailer with the selected
// program ('Q','C','p','g', then version 1 and the program index, little-endian). The VST 2.x
// plug-in reads such a state as a bank (it ignores the trailer), so states move both ways.
//
// Accepted on loading: that state, the bare bank or program chunk (no trailer: the selection
// stays), a bank that ends after its programs as the 32-bit build writes it (the bindings are
// cleared, as the VST 2.x plug-in does), and the preset containers hosts keep for VST 2.x plug-ins,
// a bank ('CcnK' ... 'FBCh', whose current program is selected from version 2 on) or a program
// ('CcnK' ... 'FPCh') around an opaque chunk of this plug-in. Anything else, a container of another
// plug-in, or a chunk that is cut short or names another effect, is refused with nothing changed.
#pragma once

#include <vector>

#include "effect/x64/QuellinCorvaneModel.h"
#include "vst3/Vst3Base.h"

namespace QuellinCorvane::Vst3Plugin {

using Bytes = std::vector<unsigned char>;

// Reads the rest of the stream; false for a null stream, a failed read or more than 4 MiB.
bool ReadStream(Vst3::IBStream* stream, Bytes& bytes);
bool WriteStream(Vst3::IBStream* stream, const Bytes& bytes);

// User-interface thread. Holds one state of the audio thread's changes.
Bytes SaveState(VstToolkit::Model& model);
// User-interface thread. False, changing nothing, for anything not accepted.
bool LoadState(QuellinCorvaneModel& model, const Bytes& bytes);

}  // namespace QuellinCorvane::Vst3Plugin
