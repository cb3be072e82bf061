#pragma once
// Each record lists its own fields once, under their own names (a sprite class, the game state, a carry); the
// state dump, the state digest and the tests all read that one list through a sink.

#include <cstdint>
#include <string>

namespace vorlanex {

class TSprite;

class FieldSink
{
public:
    virtual ~FieldSink() = default;
    // Inside a list the values have no names: `name` is null there.
    virtual void Int(const char* name, std::int64_t value) = 0;
    virtual void Real(const char* name, double value) = 0;
    virtual void Flag(const char* name, bool value) = 0;
    virtual void Text(const char* name, const std::string& value) = 0;
    // Another sprite of the tree, or null.
    virtual void Ref(const char* name, const TSprite* sprite) = 0;
    // A record (named values) or a list (values in order) that holds everything written until its Close.
    virtual void OpenRecord(const char* name) = 0;
    virtual void OpenList(const char* name) = 0;
    virtual void Close() = 0;
};

}  // namespace vorlanex
