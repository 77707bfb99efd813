#pragma once
// Random bytes from 1 to 253 for overwriting (0, 254 and 255 never occur), from a fast
// generator seeded once from the system's random source.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CWipeRandom {
public:
    CWipeRandom();
    // A generator of its own for another thread: this one's sequence from here on, while
    // this one leaps 2^128 values ahead, so that the two never give the same bytes.
    CWipeRandom Split();
    void Fill(unsigned char* out, size_t count);

private:
    uint64_t Next();
    void Jump();
    uint64_t State[4];
};

// The blocks of one pass over a file, made ahead on threads of their own (each block whole
// by one thread, with a generator of its own) while the caller writes the blocks before, so
// that the writes go at the pace of the system, never of one generator. A pass of one block
// is made at once, without a thread, and so is every block when no thread can be started.
// The blocks' memory is had before any thread starts: a maker never allocates.
class CWipeBlocks {
public:
    // Starts each thread that helps a wipe (the block makers, the early flush); it throws as
    // std::thread does when the system has no thread to give, and the wipe goes on without.
    static std::thread (*StartThread)(std::function<void()> body);

    CWipeBlocks(CWipeRandom& random, size_t blockSize, unsigned long long total);
    ~CWipeBlocks();
    CWipeBlocks(const CWipeBlocks&) = delete;
    CWipeBlocks& operator=(const CWipeBlocks&) = delete;

    // The next block and its length (0 at the end); valid until the next call.
    const unsigned char* Next(size_t& length);

private:
    void Produce(CWipeRandom random);

    static constexpr int Makers = 4;
    static constexpr int Slots = 2 * Makers + 1;
    size_t BlockSize;
    unsigned long long Left;       // bytes not yet handed out
    unsigned long long ToMake;     // bytes of blocks not yet begun
    std::vector<unsigned char> Buffer[Slots];
    size_t Length[Slots] = {};
    long long Ready[Slots];        // the number of the block the slot holds finished, or -1
    long long Begun = 0, Taken = 0;   // blocks begun by a maker and handed out so far
    bool Stop = false;
    std::mutex Lock;
    std::condition_variable Changed;
    std::vector<std::thread> Maker;
    std::unique_ptr<CWipeRandom> Own;   // the caller's generator, when no maker runs
};
