#pragma once
// Writes every input event that reaches the frame handler as an input script, so a game played by a person
// can be replayed frame for frame with --input.

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Platform.h"

namespace vorlanex {

class InputRecorder
{
public:
    // Creates (or empties) FILE and writes its seed line; throws std::runtime_error naming the file.
    InputRecorder(const std::string& path, std::uint64_t seed);
    ~InputRecorder();
    InputRecorder(const InputRecorder&) = delete;
    InputRecorder& operator=(const InputRecorder&) = delete;

    // An event applied before call `frame` of the frame handler.
    void Record(std::int64_t frame, const InputEvent& event);
    // Hands what was written to the system, so a killed game keeps every finished frame.
    void Flush();

    const std::string& Path() const { return path; }
    // The file could not take everything: the recording stops there, the game goes on.
    bool Failed() const { return failed; }

private:
    void Write(const std::string& text);

    std::string path;
    std::FILE* file = nullptr;
    bool failed = false;
};

}  // namespace vorlanex
