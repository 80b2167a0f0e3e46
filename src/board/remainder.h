// x % divisor for a divisor fixed when a table is allocated, by two
// multiplications instead of a division: the node search takes the
// remainder of its key for the table and for the evaluation cache at every
// node. Exact for every 32-bit x and divisor.
#pragma once

#include <cstdint>

namespace zarvi {

class FastRemainder {
public:
    FastRemainder() : FastRemainder(1) {}
    explicit FastRemainder(uint32_t d) : divisor(d), magic(~uint64_t(0) / d + 1) {}
    uint32_t of(uint32_t x) const { return uint32_t((__uint128_t(magic * x) * divisor) >> 64); }

private:
    uint32_t divisor;
    uint64_t magic;
};

}  // namespace zarvi
