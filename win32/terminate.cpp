// What ends a shipped program when a C++ exception is never caught: at once,
// without the runtime's verbose handler, which writes to a console these
// windows programs do not have and brings a symbol demangler along.
// Linked into the programs themselves (an archive member would come too late
// to replace the runtime's own).
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
