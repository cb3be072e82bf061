#pragma once
// The display: mode switching, the back surface every frame is drawn on, presenting, the shared colour table
// and the notices that picture catalogues and the sprite engine listen to.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Surface.h"
#include "platform/Platform.h"

namespace vorlanex {

enum class TDXDrawNotifyType
{
    dxntDestroying,         // the display component is being destroyed
    dxntInitializing,       // the display is about to start
    dxntInitialize,         // the display has started
    dxntInitializeSurface,  // its surfaces are ready
    dxntFinalize,           // the display is stopping
    dxntRestore,            // surfaces were (re)created: listeners re-fill theirs
};

enum TDXDrawOption
{
    doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank, doAllowPalette256, doSystemMemory, doStretch,
    doCenter, doFlip, do3D, doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer
};

struct TPaletteEntry
{
    std::uint8_t peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
    bool operator==(const TPaletteEntry&) const = default;
};
using TColorTable = std::array<TPaletteEntry, 256>;

class DisplayError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TDXDraw
{
public:
    using Listener = std::function<void(TDXDraw&, TDXDrawNotifyType)>;

    // video may be null: the display then starts on memory only (tests).
    explicit TDXDraw(Video* video = nullptr, Text* text = nullptr);
    ~TDXDraw();
    TDXDraw(const TDXDraw&) = delete;
    TDXDraw& operator=(const TDXDraw&) = delete;

    // Stored configuration.
    int DisplayWidth = 1024, DisplayHeight = 768, DisplayBitCount = 16;
    std::uint32_t Options = (1u << doFullScreen) | (1u << doNoWindowChange) | (1u << doAllowReboot) |
                            (1u << doWaitVBlank) | (1u << doAllowPalette256) | (1u << doFlip) |
                            (1u << doRetainedMode) | (1u << doHardware) | (1u << doSelectDriver);
    bool HasOption(TDXDrawOption o) const { return (Options >> o) & 1u; }

    std::function<void()> OnInitializing, OnInitialize, OnFinalize;
    // Called after each presented frame with the frame that was shown (automation screenshots); it stays as
    // shown until the next frame is drawn.
    std::function<void(const TDirectDrawSurface&)> OnPresented;

    TDirectDrawSurface BackSurface;
    TColorTable ColorTable{}, DefColorTable{};

    // Control size (the whole client area): what the game reads as the screen size.
    int Width() const { return DisplayWidth; }
    int Height() const { return DisplayHeight; }

    void RegisterNotifyEvent(const void* owner, Listener listener);
    void UnRegisterNotifyEvent(const void* owner);

    void StartDisplay();
    void Finalize();
    bool Initialized() const { return state == State::Started; }
    bool IsDrawable();
    void PresentFrame();
    void ApplyPalette();
    // The palette last applied (16-bit output never shows it).
    const TColorTable& AppliedPalette() const { return appliedPalette; }

    // Marks the surfaces lost, as the host may do when the game loses the screen.
    void LoseSurfaces();
    Video* VideoOutput() const { return video; }
    Text* TextEngine() const { return text; }

private:
    enum class State { Stopped, Starting, Started, Stopping };
    void Notify(TDXDrawNotifyType type);

    Video* video;
    Text* text;
    State state = State::Stopped;
    TDirectDrawSurface frontSurface;   // stands for the screen: its size and its lost state
    TColorTable appliedPalette{};
    std::vector<std::pair<const void*, Listener>> listeners;
};

}  // namespace vorlanex
