#include "shell/automation/InputRecorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "shell/automation/InputScript.h"

namespace vorlanex {

namespace {

// Writes all of `bytes` at `offset` (or appended when offset is negative); returns how many were written.
std::size_t WriteAll(int fd, const std::string& bytes, off_t offset)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = offset < 0 ? ::write(fd, bytes.data() + done, bytes.size() - done)
                                     : ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

}  // namespace

InputRecorder::InputRecorder(const std::string& path, std::uint64_t seed) : path(path)
{
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0)
        throw std::runtime_error(path + ": cannot be written (" + std::strerror(errno) + ")");
    seekable = ::lseek(fd, 0, SEEK_CUR) >= 0;
    pending = "seed " + std::to_string(seed) + "\n";
    Flush(1);
    if (failed)
        throw std::runtime_error(path + ": cannot be written");
}

InputRecorder::~InputRecorder()
{
    // What cannot be rewritten in place gets its end line once, at the end.
    if (!seekable && !failed && writtenEnd > 0)
        WriteAll(fd, std::to_string(writtenEnd) + " end\n", -1);
    if (fd >= 0)
        ::close(fd);
}

void InputRecorder::Record(std::int64_t frame, const InputEvent& event)
{
    if (failed)
        return;
    if (frame != pendingFrame)
    {
        pendingFrame = frame;
        pendingMove = std::string::npos;
    }
    const std::string lines = ScriptLines(frame, event);
    if (event.kind == EventKind::MouseMove && !lines.empty())
    {
        if (pendingMove != std::string::npos)
            pending.erase(pendingMove, pending.find('\n', pendingMove) + 1 - pendingMove);
        pendingMove = pending.size();
    }
    pending += lines;
}

void InputRecorder::Flush(std::int64_t nextFrame)
{
    if (failed || (pending.empty() && nextFrame == writtenEnd))
        return;
    WriteAtEnd(pending, nextFrame);
    pending.clear();
    pendingMove = std::string::npos;
}

// The new lines go where the end line was, with a new end line after them, in one write.
void InputRecorder::WriteAtEnd(const std::string& lines, std::int64_t nextFrame)
{
    if (!seekable)
    {
        failed = WriteAll(fd, lines, -1) != lines.size();
        writtenEnd = nextFrame;
        return;
    }
    const std::string endLine = std::to_string(nextFrame) + " end\n";
    const std::string bytes = lines + endLine;
    const std::size_t written = WriteAll(fd, bytes, off_t(endLineAt));
    if (written == bytes.size())
    {
        endLineAt += lines.size();
        if (endLine.size() < endLineSize)
            failed = ::ftruncate(fd, off_t(endLineAt + endLine.size())) != 0;
        endLineSize = endLine.size();
        writtenEnd = nextFrame;
        return;
    }
    // Out of room: keep the whole lines that landed and cut away the rest, so no line is left half written.
    failed = true;
    if (written == 0)
        return;
    const std::size_t whole = bytes.rfind('\n', written - 1);
    const std::size_t keep = whole == std::string::npos ? 0 : whole + 1;
    [[maybe_unused]] const int cut = ::ftruncate(fd, off_t(endLineAt + keep));
}

}  // namespace vorlanex
