// What the program does with an exception nobody caught: it ends, as it would
// anyway. The C++ library's own handler first prints the exception's type,
// demangled, to a standard error the windowed program does not have, and the
// demangler alone is some 45 KB of the exe. Linked into the program itself,
// this definition takes the library's place.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
