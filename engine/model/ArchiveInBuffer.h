// The buffer a binary case file is read from: the whole file, from which the archive takes small
// values straight out (the library's stream buffer reads each through a virtual call) and the
// library its own reads.
#pragma once

#include <cstddef>
#include <cstring>
#include <sstream>
#include <string>

class CArchiveInBuffer : public std::stringbuf
{
public:
    explicit CArchiveInBuffer(std::string bytes) : std::stringbuf(std::move(bytes), std::ios::in | std::ios::binary) {}

    bool Get(void* p, std::size_t n)
    {
        if (static_cast<std::size_t>(egptr() - gptr()) < n) return false;
        std::memcpy(p, gptr(), n);
        gbump(static_cast<int>(n));
        return true;
    }
    std::size_t Left() const { return static_cast<std::size_t>(egptr() - gptr()); }
};
