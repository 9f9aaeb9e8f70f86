// How the program ends on a programming error.
//
// The program catches no exceptions: a failure the system reports is a
// status, never a throw. What the standard library would throw on misuse (a
// string past max_size, a bad index, an allocation that fails) could only
// end in std::terminate. Ending at once says the same thing, and keeps out
// of the executable the code that would build those exceptions and print
// their demangled type names: about 75 KiB of a 200 KiB budget.
#include <bits/functexcept.h>
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_bad_function_call() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
}  // namespace std
