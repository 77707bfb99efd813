#pragma once
// The root of the class hierarchy: every object can tell its class, exactly or by
// inheritance (a frame's walk takes exactly one button class, while a language file
// applies to a class and everything derived from it).
#include <functional>
#include <string>
#include <typeinfo>

class TObject {
public:
    virtual ~TObject() = default;

    // The name of the object's own class, as declared ("TMainFm"), with its namespace.
    std::string ClassName() const;
    // True when the object's own class is T, not a class derived from it.
    template <class T>
    bool ClassIs() const
    {
        return typeid(*this) == typeid(T);
    }
    // True when the object is a T or of a class derived from T.
    template <class T>
    bool InheritsFrom() const
    {
        return dynamic_cast<const T*>(this) != nullptr;
    }
};

using TNotifyEvent = std::function<void(TObject* sender)>;
