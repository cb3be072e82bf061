#include "shell/automation/GameLoop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "framework/PngWriter.h"
#include "platform/VirtualKeys.h"
#include "shell/MainForm.h"

namespace vorlanex {

GameLoop::GameLoop(TMainForm& form, OverlayEvents* overlay, RunOptions options)
    : form(form), overlay(overlay), options(std::move(options))
{
    form.DXDraw.OnPresented = [this](const TDirectDrawSurface& shown) { lastPresented = &shown; };
    screenshotWritten.assign(this->options.screenshots.size(), false);
}

// A handler's error is reported and the game goes on, as in a frame.
void GameLoop::Dispatch(const InputEvent& e)
{
    if (options.recorder)
        options.recorder->Record(form.FrameCalls + 1, e);
    try
    {
        DispatchUnguarded(e);
    }
    catch (const std::exception& error)
    {
        form.ReportError(error.what());
    }
}

void GameLoop::DispatchUnguarded(const InputEvent& e)
{
    switch (e.kind)
    {
    case EventKind::KeyDown:
        if (e.repeat)
            break;
        form.DXInput.KeyPressed(e.key);
        form.FormKeyDown(e.key, e.alt);
        break;
    case EventKind::MouseDown: form.DXDrawMouseDown(e.button, e.x, e.y); break;
    case EventKind::MouseUp:
    case EventKind::MouseMove:
    case EventKind::MouseWheel: form.EditorPointer(e); break;
    case EventKind::FocusGained: form.DXTimer.AppActivated(); break;
    case EventKind::FocusLost: form.DXTimer.AppDeactivated(); break;
    case EventKind::Quit: form.QuitRequested = true; break;
    case EventKind::PadDown:
    case EventKind::PadUp:
    case EventKind::PadAxis:
    case EventKind::PadRemoved: form.DXInput.Pads.Apply(e); break;
    default: break;
    }
}

// Scripted keys, mouse and focus stand in for the host's until the host reports a change of its own.
void GameLoop::ApplyToOverlay(InputEvent& e)
{
    switch (e.kind)
    {
    case EventKind::KeyDown:
        overlay->SetKey(e.key, true);
        e.alt = e.key != vk::Alt && overlay->ScriptedKeyDown(vk::Alt);
        break;
    case EventKind::KeyUp: overlay->SetKey(e.key, false); break;
    case EventKind::MouseDown:
    case EventKind::MouseUp:
    case EventKind::MouseMove: overlay->SetMouse(e.x, e.y); break;
    case EventKind::FocusLost:
    case EventKind::FocusGained: overlay->SetFocus(e.kind == EventKind::FocusGained); break;
    default: break;
    }
}

// Script events of frame N are applied before call N of the frame handler polls its input.
void GameLoop::ApplyScript()
{
    std::int64_t next = form.FrameCalls + 1;
    // While the timer stands still no frame comes, so the next scripted moment is brought forward.
    if (!form.DXTimer.Running() && nextScript < options.script.size())
        next = std::max(next, options.script[nextScript].frame);
    while (nextScript < options.script.size() && options.script[nextScript].frame <= next)
    {
        InputEvent e = options.script[nextScript++].Event();
        ApplyToOverlay(e);
        Dispatch(e);
    }
}

void GameLoop::FlushRecording()
{
    if (!options.recorder)
        return;
    options.recorder->Flush(form.FrameCalls + 1);
    if (options.recorder->Failed())
        form.ReportError(options.recorder->Path() + ": cannot be written; the recording stops here");
}

void GameLoop::TakeScreenshots()
{
    for (std::size_t i = 0; i < options.screenshots.size(); ++i)
    {
        const auto& [frame, path] = options.screenshots[i];
        if (frame != form.FrameCalls || !lastPresented)
            continue;
        try
        {
            WritePng(path, lastPresented->Bits(), lastPresented->Width(), lastPresented->Height(),
                     lastPresented->Pitch());
            screenshotWritten[i] = true;
        }
        catch (const std::exception& e)
        {
            form.ReportError(e.what());
        }
    }
}

int GameLoop::ReportMissingScreenshots()
{
    int missing = 0;
    for (std::size_t i = 0; i < options.screenshots.size(); ++i)
        if (!screenshotWritten[i])
        {
            const auto& [frame, path] = options.screenshots[i];
            const bool reached = form.FrameCalls >= frame;
            std::fprintf(stderr, "vorlanex: --screenshot %lld:%s was not written (%s)\n",
                         static_cast<long long>(frame), path.c_str(),
                         reached ? "the file could not be written" : "the game ended before that frame");
            ++missing;
        }
    return missing;
}

bool GameLoop::ScriptOver() const
{
    if (!options.stopBefore || form.FrameCalls + 1 < *options.stopBefore)
        return false;
    return nextScript >= options.script.size() || options.script[nextScript].frame > *options.stopBefore;
}

bool GameLoop::Finished() const
{
    if (form.QuitRequested || ScriptOver() || (options.shared && options.shared->Ended()))
        return true;
    if (options.frames && form.FrameCalls >= *options.frames)
        return true;
    // A stopped timer still lets the turns of a shared game go round: the partner may start it again.
    if (options.shared)
        return false;
    // A stopped timer with nothing left to say would wait forever in an unattended run.
    const bool scriptDone = nextScript >= options.script.size();
    return (options.unpaced || options.headless) && !form.DXTimer.Running() && scriptDone;
}

bool GameLoop::Pass()
{
    if (options.shared)
        return SharedPass();
    if (overlay)
        ApplyScript();
    InputEvent e;
    while (form.platform.events->Poll(e))
        Dispatch(e);
    if (form.QuitRequested || ScriptOver())
        return false;
    if (!Tick() && !options.unpaced)
    {
        const std::int64_t wait = form.DXTimer.MsUntilNextTick();
        form.platform.clock->SleepMs(std::uint32_t(wait < 0 ? 10 : std::clamp<std::int64_t>(wait, 1, 10)));
    }
    return FrameDone();
}

// A frame if one is due (unpaced: whenever the timer runs). True when it ran.
bool GameLoop::Tick()
{
    const std::int64_t before = form.FrameCalls;
    // Start on a pad leaves the title and result screens, like Space; in battle it does nothing.
    form.DXInput.PadStartFires = form.Scene == Scene::Title || form.Scene == Scene::Result;
    const auto started = std::chrono::steady_clock::now();
    const double startedOnProcessor = options.frameTimes ? FrameTimes::ThreadMicroseconds() : 0;
    if (options.unpaced)
    {
        if (form.DXTimer.TickNow() && options.afterUnpacedFrame)
            options.afterUnpacedFrame();
    }
    else
        form.DXTimer.Idle();
    if (form.FrameCalls == before)
        return false;
    if (options.frameTimes)
        options.frameTimes->Add(
            {std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started).count(),
             FrameTimes::ThreadMicroseconds() - startedOnProcessor});
    return true;
}

bool GameLoop::FrameDone()
{
    if (form.FrameCalls == framesDone)
        return false;
    framesDone = form.FrameCalls;
    if (options.shared)
        options.shared->FrameDone(form);
    FlushRecording();
    TakeScreenshots();
    return true;
}

void GameLoop::OfferLocal(InputEvent e)
{
    if (options.shared->Offer(e))
        Dispatch(e);
}

// A shared event reaches the game like a scripted one, but the mouse pointer stays this machine's own.
void GameLoop::ApplyShared(InputEvent e)
{
    if (e.kind == EventKind::KeyDown || e.kind == EventKind::KeyUp)
        overlay->SetKey(e.key, e.kind == EventKind::KeyDown);
    Dispatch(e);
}

// A turn is due with the timer's tick or, while the timer stands still, once an interval has passed.
std::int64_t GameLoop::MsUntilTurn() const
{
    if (options.unpaced)
        return 0;
    if (form.DXTimer.Running())
        return form.DXTimer.MsUntilNextTick();
    const std::uint32_t interval = std::uint32_t(std::max(form.DXTimer.Interval(), 1));
    const std::uint32_t elapsed = form.platform.clock->NowMs() - lastTurnMs;
    return elapsed >= interval ? 0 : interval - elapsed;
}

bool GameLoop::SharedPass()
{
    SharedInput& shared = *options.shared;
    InputEvent e;
    while (shared.PollLocal(e))
        OfferLocal(e);
    while (nextScript < options.script.size() && options.script[nextScript].frame <= shared.NextTurn())
        OfferLocal(options.script[nextScript++].Event());
    // The partner's messages are taken and acknowledged every pass, not only when a turn is missing, so that
    // the link measures its true round trip and sends a lost datagram again soon.
    shared.Wait(0);
    if (form.QuitRequested || shared.Ended())
        return false;
    if (const std::int64_t wait = MsUntilTurn(); wait > 0)
    {
        shared.Wait(std::uint32_t(std::min<std::int64_t>(wait, 10)));
        return false;
    }
    std::optional<std::vector<InputEvent>> turn = shared.TakeTurn();
    if (!turn)
    {
        shared.Wait(2);
        return false;
    }
    lastTurnMs = form.platform.clock->NowMs();
    for (const InputEvent& event : *turn)
        ApplyShared(event);
    Tick();
    return FrameDone();
}

int GameLoop::Run()
{
    while (!Finished())
        Pass();
    FlushRecording();
    return ReportMissingScreenshots() > 0 ? 1 : 0;
}

}  // namespace vorlanex
