#pragma once
// Keeps the user's choices in the registry from one program run to the next: one byte per
// control of the main window's option container, in the container's list order, plus the
// last run's time, the pass count and the "save on exit" choice. It never names a control
// itself, so the stored byte order is the container's.
#include <string>

class CPtrContainer;

class COptRWClass {
public:
    explicit COptRWClass(CPtrContainer* container) : Container(container) {}

    // Values that are missing leave their controls as they are; a value of another type or
    // longer than any list is passed over. The cache choices come out as exactly one.
    void LoadOptions();
    // Raises ERegistryException when the key cannot be written.
    void SaveOptions();
    // Both write into the key only when it exists already (the first-start setup makes it),
    // and raise ERegistryException otherwise or when the write fails.
    void WriteWipeCount(const int* count);
    void WriteSaveSettings(bool save);
    // True when nothing was stored yet.
    bool ReadSaveSettings();

    static const char* const Key;
    // No list holds more: a longer value was not written by this program.
    static const int MaxListBytes = 260;

private:
    // Tags of the three cache choices of the Internet Explorer group (all, pages, pictures).
    static const int FirstCacheChoice = 111;
    static const int LastCacheChoice = 113;
    void OneCacheChoice();

    CPtrContainer* Container;
};
