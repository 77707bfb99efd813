#pragma once
// Objects owned by other objects: an owner frees what it owns, last made first.
#include "TObject.h"

#include <string>
#include <vector>

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Runs before a component is deleted through Free or by its owner, while every part of
    // it is still whole (a form fires OnDestroy here).
    virtual void BeforeDestruction() {}
    void Free();

    TComponent* Owner() const { return FOwner; }
    // What it owns, in the order they were made.
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents[static_cast<size_t>(index)]; }

    std::string Name;
    int Tag = 0;

private:
    void Remove(TComponent* c);

    TComponent* FOwner;
    std::vector<TComponent*> FComponents;
};
