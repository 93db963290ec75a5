#include "effect/x86/Module.h"

#if defined(_WIN32)
namespace QuellinCorvaneX86 {
namespace {
HINSTANCE stored = nullptr;
}
HINSTANCE moduleInstance() {
    return stored;
}
void setModuleInstance(HINSTANCE instance) {
    stored = instance;
}
}  // namespace QuellinCorvaneX86
#endif
