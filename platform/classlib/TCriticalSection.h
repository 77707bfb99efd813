#pragma once
#include <windows.h>

class TCriticalSection {
public:
    TCriticalSection() { InitializeCriticalSection(&Section); }
    ~TCriticalSection() { DeleteCriticalSection(&Section); }
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&Section); }
    void Leave() { LeaveCriticalSection(&Section); }
    bool TryEnter() { return TryEnterCriticalSection(&Section) != 0; }

private:
    CRITICAL_SECTION Section;
};

// Holds the section for the guard's scope, also when an exception leaves it.
class TCriticalSectionGuard {
public:
    explicit TCriticalSectionGuard(TCriticalSection& cs) : Section(cs) { Section.Enter(); }
    ~TCriticalSectionGuard() { Section.Leave(); }
    TCriticalSectionGuard(const TCriticalSectionGuard&) = delete;
    TCriticalSectionGuard& operator=(const TCriticalSectionGuard&) = delete;

private:
    TCriticalSection& Section;
};
