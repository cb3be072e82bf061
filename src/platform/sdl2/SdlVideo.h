#pragma once
// The SDL display, visible to the other parts of the SDL backend (events need its window and renderer).

#include <SDL.h>

#include <string>

#include "platform/Platform.h"

namespace vorlanex {

class SdlVideo final : public Video
{
public:
    SdlVideo() = default;
    ~SdlVideo() override { Close(); }
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;

    void Open(int width, int height, bool windowed) override;
    void Close() override;
    bool IsOpen() const override { return window != nullptr; }
    void Present(const std::uint16_t* pixels, int width, int height, int pitch) override;
    void SetCaption(const std::string& utf8) override;
    void ToggleFullscreen() override;
    bool IsWindowed() const override { return windowed; }

    SDL_Window* Window() const { return window; }
    SDL_Renderer* Renderer() const { return renderer; }

private:
    void CreateRenderer();
    void CreatePresenter();
    void Fail(const std::string& what);

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool videoStarted = false;
    bool windowed = false;
    int textureWidth = 0;
    int textureHeight = 0;
    std::string caption = "Vorlanex";
};

// True under the video drivers that have no real screen, keyboard focus or message boxes.
bool IsVirtualVideoDriver();

}  // namespace vorlanex
