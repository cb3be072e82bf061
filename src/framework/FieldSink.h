#pragma once
// Each sprite class lists its own fields once, under their own names; the state dump, the state digest and the
// tests all read that one list through a sink.

#include <cstdint>

namespace vorlanex {

class TSprite;

class FieldSink
{
public:
    virtual ~FieldSink() = default;
    virtual void Int(const char* name, std::int64_t value) = 0;
    virtual void Real(const char* name, double value) = 0;
    virtual void Flag(const char* name, bool value) = 0;
    // Another sprite of the tree, or null.
    virtual void Ref(const char* name, const TSprite* sprite) = 0;
};

}  // namespace vorlanex
