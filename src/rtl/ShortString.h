#pragma once
// Fixed-capacity texts of the original runtime: at most N characters (bytes,
// Latin-1). Assigning a longer text keeps its first N characters. In records
// and binary files the text occupies N + 1 bytes: a length byte, the
// characters, and zero padding up to the capacity.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace rtl
{

template <std::size_t N> class ShortString
{
    static_assert(N >= 1 && N <= 255, "a length byte holds at most 255");

public:
    static constexpr std::size_t capacity = N;
    static constexpr std::size_t storedSize = N + 1;

    ShortString() = default;
    ShortString(std::string_view text) { assign(text); }
    ShortString(const char* text) { assign(text); }
    ShortString(const std::string& text) { assign(text); }

    ShortString& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    ShortString& operator=(const std::string& text)
    {
        assign(text);
        return *this;
    }
    ShortString& operator=(const char* text)
    {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) { text_.assign(text.substr(0, N)); }

    const std::string& str() const { return text_; }
    operator const std::string&() const { return text_; }
    std::string_view view() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    std::size_t size() const { return text_.size(); }
    std::size_t length() const { return text_.size(); }
    bool empty() const { return text_.empty(); }
    char operator[](std::size_t i) const { return text_[i]; }
    void clear() { text_.clear(); }

    // Writes the N + 1 stored bytes: length byte, characters, zero padding.
    void store(uint8_t* dst) const
    {
        dst[0] = static_cast<uint8_t>(text_.size());
        std::memcpy(dst + 1, text_.data(), text_.size());
        std::memset(dst + 1 + text_.size(), 0, N - text_.size());
    }
    // Reads N + 1 stored bytes; a length byte above N is cut to N.
    static ShortString load(const uint8_t* src)
    {
        ShortString s;
        std::size_t len = std::min<std::size_t>(src[0], N);
        s.text_.assign(reinterpret_cast<const char*>(src + 1), len);
        return s;
    }

    friend bool operator==(const ShortString& a, const ShortString& b) { return a.text_ == b.text_; }
    friend bool operator==(const ShortString& a, std::string_view b) { return a.text_ == b; }
    // Exact overloads, else comparing with a literal or std::string would be
    // ambiguous between the two above.
    friend bool operator==(const ShortString& a, const char* b) { return a.text_ == b; }
    friend bool operator==(const ShortString& a, const std::string& b) { return a.text_ == b; }

private:
    std::string text_;
};

template <std::size_t N> std::string operator+(const ShortString<N>& a, std::string_view b)
{
    return a.str() + std::string(b);
}
template <std::size_t N> std::string operator+(std::string_view a, const ShortString<N>& b)
{
    return std::string(a) + b.str();
}

} // namespace rtl
