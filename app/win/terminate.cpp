// The library's default terminate handler prints the demangled name of the
// exception's type to stderr, which pulls about 45 KiB of demangler into the
// executable. A GUI program has no stderr to print to: end at once instead.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
