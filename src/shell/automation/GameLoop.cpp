#include "shell/automation/GameLoop.h"

#include <algorithm>
#include <cstdio>

#include "framework/PngWriter.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

constexpr int kAltKey = 0x12;

}  // namespace

GameLoop::GameLoop(TMainForm& form, OverlayEvents* overlay, RunOptions options)
    : form(form), overlay(overlay), options(std::move(options))
{
    form.DXDraw.OnPresented = [this](const TDirectDrawSurface& shown) { lastPresented = &shown; };
}

// A handler's error is reported and the game goes on, as in a frame.
void GameLoop::Dispatch(const InputEvent& e)
{
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
        if (!e.repeat)
            form.FormKeyDown(e.key, e.alt);
        break;
    case EventKind::MouseDown: form.DXDrawMouseDown(e.button, e.x, e.y); break;
    case EventKind::FocusGained: form.DXTimer.AppActivated(); break;
    case EventKind::FocusLost: form.DXTimer.AppDeactivated(); break;
    case EventKind::Quit: form.QuitRequested = true; break;
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
        const ScriptEvent& s = options.script[nextScript++];
        InputEvent e;
        switch (s.kind)
        {
        case ScriptEvent::Kind::KeyDown:
            overlay->SetKey(s.key, true);
            e.kind = EventKind::KeyDown;
            e.key = s.key;
            e.alt = s.key != kAltKey && overlay->ScriptedKeyDown(kAltKey);
            break;
        case ScriptEvent::Kind::KeyUp:
            overlay->SetKey(s.key, false);
            e.kind = EventKind::KeyUp;
            e.key = s.key;
            break;
        case ScriptEvent::Kind::ClickLeft:
        case ScriptEvent::Kind::ClickRight:
            overlay->SetMouse(s.x, s.y);
            e.kind = EventKind::MouseDown;
            e.button = s.kind == ScriptEvent::Kind::ClickLeft ? MouseButton::Left : MouseButton::Right;
            e.x = s.x;
            e.y = s.y;
            break;
        case ScriptEvent::Kind::Move:
            overlay->SetMouse(s.x, s.y);
            e.kind = EventKind::MouseMove;
            break;
        case ScriptEvent::Kind::FocusLost:
        case ScriptEvent::Kind::FocusGained:
            overlay->SetFocus(s.kind == ScriptEvent::Kind::FocusGained);
            e.kind = s.kind == ScriptEvent::Kind::FocusGained ? EventKind::FocusGained : EventKind::FocusLost;
            break;
        }
        Dispatch(e);
    }
}

void GameLoop::TakeScreenshots()
{
    for (const auto& [frame, path] : options.screenshots)
        if (frame == form.FrameCalls && lastPresented)
        {
            try
            {
                WritePng(path, lastPresented->Bits(), lastPresented->Width(), lastPresented->Height(),
                         lastPresented->Pitch());
            }
            catch (const std::exception& e)
            {
                form.ReportError(e.what());
            }
        }
}

bool GameLoop::Finished() const
{
    if (form.QuitRequested)
        return true;
    if (options.frames && form.FrameCalls >= *options.frames)
        return true;
    // A stopped timer with nothing left to say would wait forever in an unattended run.
    const bool scriptDone = nextScript >= options.script.size();
    return options.unpaced && !form.DXTimer.Running() && scriptDone;
}

bool GameLoop::Pass()
{
    if (overlay)
        ApplyScript();
    InputEvent e;
    while (form.platform.events->Poll(e))
        Dispatch(e);
    if (form.QuitRequested)
        return false;
    const std::int64_t before = form.FrameCalls;
    if (options.unpaced)
    {
        if (form.DXTimer.TickNow() && options.afterUnpacedFrame)
            options.afterUnpacedFrame();
    }
    else if (!form.DXTimer.Idle())
    {
        const std::int64_t wait = form.DXTimer.MsUntilNextTick();
        form.platform.clock->SleepMs(std::uint32_t(wait < 0 ? 10 : std::clamp<std::int64_t>(wait, 1, 10)));
    }
    if (form.FrameCalls == before)
        return false;
    TakeScreenshots();
    return true;
}

int GameLoop::Run()
{
    while (!Finished())
        Pass();
    return 0;
}

}  // namespace vorlanex
