// Core text is UTF-16 in std::u16string; on Windows wchar_t is the same
// 16-bit unit, so conversion is a plain copy.
#pragma once

#include <string>

#include "core/text.h"

namespace velmora::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

inline const wchar_t* Wide(const Text& t) { return reinterpret_cast<const wchar_t*>(t.c_str()); }
inline Text FromWide(const wchar_t* s, size_t n) { return Text(reinterpret_cast<const char16_t*>(s), n); }
inline Text FromWide(const std::wstring& s) { return FromWide(s.data(), s.size()); }
inline Text FromWide(const wchar_t* s) { return FromWide(s, std::char_traits<wchar_t>::length(s)); }

}  // namespace velmora::win32
