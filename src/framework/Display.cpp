#include "framework/Display.h"

#include <algorithm>
#include <cstdio>

namespace vorlanex {

TDXDraw::TDXDraw(Video* video, Text* text) : video(video), text(text) {}

TDXDraw::~TDXDraw()
{
    Finalize();
    Notify(TDXDrawNotifyType::dxntDestroying);
}

void TDXDraw::RegisterNotifyEvent(const void* owner, Listener listener)
{
    UnRegisterNotifyEvent(owner);
    listeners.emplace_back(owner, std::move(listener));
}

void TDXDraw::UnRegisterNotifyEvent(const void* owner)
{
    std::erase_if(listeners, [owner](const auto& entry) { return entry.first == owner; });
}

void TDXDraw::Notify(TDXDrawNotifyType type)
{
    // A listener may unregister itself while being told, so walk a copy.
    const auto snapshot = listeners;
    for (const auto& [owner, listener] : snapshot)
        listener(*this, type);
}

void TDXDraw::StartDisplay()
{
    Finalize();
    if (OnInitializing)
        OnInitializing();
    state = State::Starting;
    try
    {
        Notify(TDXDrawNotifyType::dxntInitializing);
        if (video && !video->IsOpen())
        {
            try
            {
                video->Open(DisplayWidth, DisplayHeight, !HasOption(doFullScreen));
            }
            catch (const std::exception&)
            {
                char message[96];
                std::snprintf(message, sizeof message, "Display mode cannot be changed (%dx%d %dbit)", DisplayWidth,
                              DisplayHeight, DisplayBitCount);
                throw DisplayError(message);
            }
        }
        frontSurface.SetSize(DisplayWidth, DisplayHeight);
        BackSurface.SetSize(DisplayWidth, DisplayHeight);
        BackSurface.SetTextEngine(text);
        state = State::Started;
        Notify(TDXDrawNotifyType::dxntInitialize);
        if (OnInitialize)
            OnInitialize();
        Notify(TDXDrawNotifyType::dxntInitializeSurface);
    }
    catch (...)
    {
        state = State::Started;
        Finalize();
        throw;
    }
    Notify(TDXDrawNotifyType::dxntRestore);
}

void TDXDraw::Finalize()
{
    if (state != State::Started)
    {
        state = State::Stopped;
        return;
    }
    state = State::Stopping;
    if (OnFinalize)
        OnFinalize();
    Notify(TDXDrawNotifyType::dxntFinalize);
    frontSurface.SetSize(0, 0);
    BackSurface.SetSize(0, 0);
    state = State::Stopped;
}

bool TDXDraw::IsDrawable()
{
    if (state != State::Started)
        return false;
    if (BackSurface.Width() == 0 || frontSurface.Width() == 0)
        return false;
    if (BackSurface.IsLost() || frontSurface.IsLost())
    {
        BackSurface.Restore();
        frontSurface.Restore();
        Notify(TDXDrawNotifyType::dxntRestore);
    }
    return true;
}

void TDXDraw::LoseSurfaces()
{
    BackSurface.MarkLost();
    frontSurface.MarkLost();
}

void TDXDraw::PresentFrame()
{
    if (!IsDrawable())
        return;
    // The screen takes its own copy of the frame, so the back surface is shown from where it was drawn: a copy
    // to the front surface first would double the cost of presenting for nothing.
    if (video && video->IsOpen())
        video->Present(BackSurface.Bits(), BackSurface.Width(), BackSurface.Height(), BackSurface.Pitch());
    if (OnPresented)
        OnPresented(BackSurface);
}

void TDXDraw::ApplyPalette() { appliedPalette = ColorTable; }

}  // namespace vorlanex
