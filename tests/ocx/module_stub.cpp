// The module instance for tests that link the engine's sources directly: the
// test program itself.
#include "module.h"

namespace vitrel {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace vitrel
