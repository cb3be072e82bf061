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

// Input shared with another machine (network play): a frame runs only once the events of both machines for its
// turn are known, and both apply the same merged events in the same order.
class SharedInput
{
public:
    virtual ~SharedInput() = default;
    // The next of this machine's own events (the host's keyboard, mouse, pads, window).
    virtual bool PollLocal(InputEvent& event) = 0;
    // Takes one of this machine's events (from the host or the script) for the shared stream; true when it is
    // for this machine alone and is to be handled here now instead (it may be amended: its Alt flag).
    virtual bool Offer(InputEvent& event) = 0;
    // The turn TakeTurn gives next, counted from 1; a script's events of frame N are offered before turn N.
    virtual std::int64_t NextTurn() const = 0;
    // The merged events of the next turn, or nothing while the partner's are missing.
    virtual std::optional<std::vector<InputEvent>> TakeTurn() = 0;
    // Waits up to ms for the partner, keeping the connection serviced.
    virtual void Wait(std::uint32_t ms) = 0;
    // After each frame (the digest exchange).
    virtual void FrameDone(TMainForm& form) = 0;
    // The shared game cannot go on (the partner left, the machines are out of step).
    virtual bool Ended() const = 0;
};

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
    SharedInput* shared = nullptr;        // network play; the overlay must then be set
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
    bool SharedPass();
    void OfferLocal(InputEvent e);
    void ApplyShared(InputEvent e);
    std::int64_t MsUntilTurn() const;
    bool Tick();
    bool FrameDone();
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
    std::uint32_t lastTurnMs = 0;
    std::int64_t framesDone = 0;   // frames whose recording and screenshots are done
};

}  // namespace vorlanex
