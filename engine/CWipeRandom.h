#pragma once
// Random bytes from 1 to 253 for overwriting (0, 254 and 255 never occur), from a fast
// generator seeded once from the system's random source.
#include <cstddef>
#include <cstdint>

class CWipeRandom {
public:
    CWipeRandom();
    void Fill(unsigned char* out, size_t count);

private:
    uint64_t Next();
    uint64_t State[4];
};
