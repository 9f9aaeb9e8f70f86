// How the program ends on a programming error.
//
// The program throws and catches nothing (it is built without exception
// handling): a failure the system reports is a status, never a throw. What
// the standard library still throws on misuse (a string past max_size, a bad
// index) can only reach std::terminate, and an allocation that cannot be
// met would end the same way. Both end here, at once, in std::abort.
//
// The library's default terminate handler would first print the
// exception's type, demangled: it is replaced by name rather than through
// std::set_terminate, so that the library's copy, and the demangler and the
// formatted printing it brings (about 60 KB of the executable, all of it
// loaded at start), are never linked. The new handler stops a failed
// allocation before anything is thrown.
#include <cstdlib>
#include <exception>
#include <new>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

namespace {

// Set while the program starts, before wWinMain: nothing it does comes earlier.
const bool kEndsAtOnce = (std::set_new_handler(std::abort), true);

}  // namespace
