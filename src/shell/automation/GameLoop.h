#pragma once
// The message loop: host events, scripted input, and the frame timer's ticks, sleeping between them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/automation/FrameTimes.h"
#include "shell/automation/InputRecorder.h"
#include "shell/automation/InputScript.h"
#include "shell/automation/OverlayEvents.h"

namespace vorlanex {

class TMainForm;
class TDirectDrawSurface;

struct RunOptions
{
    std::optional<std::int64_t> frames;   // quit after this many calls of the frame handler
    bool unpaced = false;                 // frames back to back
    bool headless = false;                // nobody can unpause a paused game
    std::vector<ScriptEvent> script;
    // The run ends before this frame, once the script's events up to it are applied (a recording's end line,
    // or the frame after the last one an unattended script speaks of).
    std::optional<std::int64_t> stopBefore;
    InputRecorder* recorder = nullptr;    // writes every event that reaches the frame handler
    FrameTimes* frameTimes = nullptr;     // told how long every frame took
    std::vector<std::pair<std::int64_t, std::string>> screenshots;   // frame, PNG file
    // Called after each unpaced frame: a headless run moves its manual clock on by one tick here.
    std::function<void()> afterUnpacedFrame;
};

class GameLoop
{
public:
    // overlay may be null when no script is used; it must be the form's event source when set.
    GameLoop(TMainForm& form, OverlayEvents* overlay, RunOptions options);
    // Runs until the player quits or the frame limit is reached; returns the exit code: 0, or 1 when a
    // screenshot that was asked for was not written.
    int Run();
    // One pass: apply due input, then tick if a frame is due. True when a frame ran.
    bool Pass();

private:
    void ApplyScript();
    void ApplyToOverlay(InputEvent& e);
    void FlushRecording();
    void Dispatch(const InputEvent& e);
    void DispatchUnguarded(const InputEvent& e);
    void TakeScreenshots();
    bool ScriptOver() const;
    bool Finished() const;
    int ReportMissingScreenshots();

    TMainForm& form;
    OverlayEvents* overlay;
    RunOptions options;
    std::size_t nextScript = 0;
    std::vector<bool> screenshotWritten;
    const TDirectDrawSurface* lastPresented = nullptr;
};

}  // namespace vorlanex
