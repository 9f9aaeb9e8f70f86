// How the program ends on a programming error.
//
// The program throws and catches nothing (it is built without exception
// handling): a failure the system reports is a status, never a throw. What
// the standard library still throws on misuse (a string past max_size, a bad
// index) can only reach std::terminate, and an allocation that cannot be
// met would end the same way. Both end here, at once, in std::abort: the
// terminate handler stands in for the library's default one, which would
// first print the exception's type, and the new handler stops a failed
// allocation before anything is thrown.
#include <cstdlib>
#include <exception>
#include <new>

namespace {

// Set while the program starts, before wWinMain: nothing it does comes earlier.
const bool kEndsAtOnce = (std::set_terminate(std::abort), std::set_new_handler(std::abort), true);

}  // namespace
