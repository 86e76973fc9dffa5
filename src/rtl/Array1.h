#pragma once
// Arrays indexed from 1, as the navigation tables were declared
// (LogRecords[1..98], RoutePoints[1..40], AisTargets[1..60] ...).
// operator[] is unchecked in release builds like any array; at() throws
// std::out_of_range, for indexes that come from files or other input.

#include <array>
#include <cassert>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace rtl
{

template <typename T, std::size_t N> class Array1
{
public:
    static constexpr std::size_t count = N;

    T& operator[](std::size_t i)
    {
        assert(i >= 1 && i <= N);
        return items_[i - 1];
    }
    const T& operator[](std::size_t i) const
    {
        assert(i >= 1 && i <= N);
        return items_[i - 1];
    }
    T& at(std::size_t i)
    {
        if (i < 1 || i > N)
            throw std::out_of_range("index outside 1.." + std::to_string(N));
        return items_[i - 1];
    }
    const T& at(std::size_t i) const { return const_cast<Array1*>(this)->at(i); }
    static constexpr std::size_t size() { return N; }
    void fill(const T& value) { items_.fill(value); }
    T* begin() { return items_.data(); }
    T* end() { return items_.data() + N; }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + N; }

private:
    std::array<T, N> items_ {};
};

} // namespace rtl
