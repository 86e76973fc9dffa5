#pragma once
// Lets GoogleTest print fixed-capacity texts as text in failure messages.

#include "rtl/ShortString.h"

#include <ostream>

namespace rtl
{

template <std::size_t N> void PrintTo(const ShortString<N>& text, std::ostream* out)
{
    *out << '"' << text.str() << '"';
}

} // namespace rtl
