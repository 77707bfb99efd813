#include "TComponent.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : FOwner(owner)
{
    if (FOwner)
        FOwner->FComponents.push_back(this);
}

TComponent::~TComponent()
{
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        FComponents.pop_back();
        c->FOwner = nullptr;
        c->Free();
    }
    if (FOwner)
        FOwner->Remove(this);
}

void TComponent::Remove(TComponent* c)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), c);
    if (it != FComponents.end())
        FComponents.erase(it);
}

void TComponent::Free()
{
    BeforeDestruction();
    delete this;
}
