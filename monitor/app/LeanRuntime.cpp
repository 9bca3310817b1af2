// What the program's own file leaves out of the static C++ runtime.
//
// The monitor is built without exceptions and catches none: a failure the
// standard library would report by throwing (an allocation that fails, a
// length past the maximum) can only end the process. These definitions say
// so directly, instead of linking the runtime's exception classes, its
// second string implementation that they carry and the symbol demangler of
// its verbose terminate handler: together a quarter of the program's size.
// They are linked into Monitor.exe only; the tests keep the full runtime.
#include <bits/functexcept.h>

#include <cstdlib>

namespace {
[[noreturn]] void Fail() { std::abort(); }
}  // namespace

namespace std {
void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
void __throw_invalid_argument(const char*) { Fail(); }
void __throw_bad_function_call() { Fail(); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { Fail(); }
}  // namespace __gnu_cxx
