// The rarely taken path of a wide string's replace (the new text lies inside
// the string's own buffer), made here. From GCC 13 on the library's headers
// leave it to the library, whose one object holding it holds every wide string
// function too: a static link takes that object whole, 20 KB more of an exe
// that must stay under 512 KB. The definition here satisfies the call first.
#include <string>

#if defined(_GLIBCXX_RELEASE) && _GLIBCXX_RELEASE >= 13 && _GLIBCXX_USE_CXX11_ABI && _GLIBCXX_EXTERN_TEMPLATE > 0
template void std::wstring::_M_replace_cold(wchar_t*, std::wstring::size_type, const wchar_t*,
                                            std::wstring::size_type, std::wstring::size_type);
#endif
