#include "shell/automation/InputRecorder.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "shell/automation/InputScript.h"

namespace vorlanex {

InputRecorder::InputRecorder(const std::string& path, std::uint64_t seed) : path(path)
{
    file = std::fopen(path.c_str(), "w");
    if (!file)
        throw std::runtime_error(path + ": cannot be written (" + std::strerror(errno) + ")");
    Write("seed " + std::to_string(seed) + "\n");
    Flush();
    if (failed)
        throw std::runtime_error(path + ": cannot be written");
}

InputRecorder::~InputRecorder()
{
    if (file)
        std::fclose(file);
}

void InputRecorder::Record(std::int64_t frame, const InputEvent& event)
{
    Write(ScriptLines(frame, event));
}

void InputRecorder::Write(const std::string& text)
{
    if (failed || text.empty())
        return;
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size())
        failed = true;
}

void InputRecorder::Flush()
{
    if (!failed && std::fflush(file) != 0)
        failed = true;
}

}  // namespace vorlanex
