#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/host_value.h"

// Decodes the 64-bit little-endian 3!:1 form (what JGetA returns) into a host value.
// Every size and offset is checked against the buffer; nothing in it is trusted.
struct JBinaryResult {
    enum class Status {
        Ok,
        Malformed,        // not a well-formed block
        NeedsConversion,  // holds symbols or sparse arrays, which only J can turn into values
        TooDeep,          // boxes nested deeper than kMaxJBinaryDepth
        TooLarge,         // would expand far beyond its own size
    };
    Status status = Status::Malformed;
    HostValue value;
};

inline constexpr int kMaxJBinaryDepth = 1000;

JBinaryResult decodeJBinary(const unsigned char* data, std::size_t size);
