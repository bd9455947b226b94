// A hash of what a part of the window shows, a word at a time: painting
// draws a part again only when its look changed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class Look {
public:
    Look& operator<<(uint64_t value)
    {
        hash_ = (hash_ ^ value) * 0x100000001b3ull;
        hash_ ^= hash_ >> 29;
        return *this;
    }
    Look& operator<<(const std::string& text) { return *this << uint64_t(std::hash<std::string>()(text)); }
    Look& operator<<(const void* pointer) { return *this << uint64_t(reinterpret_cast<uintptr_t>(pointer)); }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ull;
};
