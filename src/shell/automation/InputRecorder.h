#pragma once
// Writes every input event that reaches the frame handler as an input script, so a game played by a person
// can be replayed frame for frame with --input.
//
// The file always ends in a line `FRAME end`: the game has run every frame before FRAME. It is rewritten in
// place at every flush, so a game killed, crashed or hung up on still leaves a recording that says how far it
// got, and each flush hands the system whole lines in one write, so a full disk cuts at a line's end.

#include <cstdint>
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

    // An event applied before call `frame` of the frame handler. Of the mouse moves of one frame only the
    // last is kept: the frame reads the mouse once.
    void Record(std::int64_t frame, const InputEvent& event);
    // Writes the events recorded so far and the end line: the game has run every frame before `nextFrame`.
    void Flush(std::int64_t nextFrame);

    const std::string& Path() const { return path; }
    // The file could not take everything: the recording stops there, the game goes on.
    bool Failed() const { return failed; }

private:
    void WriteAtEnd(const std::string& lines, std::int64_t nextFrame);

    std::string path;
    int fd = -1;
    bool seekable = true;          // a pipe or a terminal gets appended lines and no end line
    std::uint64_t endLineAt = 0;   // where the end line starts (the file's length without it)
    std::size_t endLineSize = 0;
    std::string pending;           // lines not yet written, all of frame `pendingFrame`
    std::int64_t pendingFrame = 0;
    std::size_t pendingMove = std::string::npos;   // where this frame's mouse move line starts in `pending`
    std::int64_t writtenEnd = -1;
    bool failed = false;
};

}  // namespace vorlanex
