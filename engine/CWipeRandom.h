#pragma once
// Random bytes from 1 to 253 for overwriting (0, 254 and 255 never occur), from a fast
// generator seeded once from the system's random source.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class CWipeRandom {
public:
    CWipeRandom();
    void Fill(unsigned char* out, size_t count);

private:
    uint64_t Next();
    uint64_t State[4];
};

// The blocks of one pass over a file, made ahead on a thread of their own while the caller
// writes the block before, so that a write never waits for the generator. A pass of one
// block is made at once, without a thread.
class CWipeBlocks {
public:
    CWipeBlocks(CWipeRandom& random, size_t blockSize, unsigned long long total);
    ~CWipeBlocks();
    CWipeBlocks(const CWipeBlocks&) = delete;
    CWipeBlocks& operator=(const CWipeBlocks&) = delete;

    // The next block and its length (0 at the end); valid until the next call.
    const unsigned char* Next(size_t& length);

private:
    void Produce();

    static constexpr int Slots = 3;
    CWipeRandom& Random;
    unsigned long long Left;       // bytes not yet handed out
    unsigned long long ToMake;     // bytes not yet generated
    std::vector<unsigned char> Buffer[Slots];
    size_t Length[Slots] = {};
    int Made = 0, Taken = 0;       // blocks generated and handed out so far
    bool Stop = false;
    std::mutex Lock;
    std::condition_variable Changed;
    std::thread Maker;
};
