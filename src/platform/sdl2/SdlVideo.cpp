#include "platform/sdl2/SdlVideo.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {

bool IsVirtualVideoDriver()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return !driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

// Whatever was made so far is taken down again, so a failed Open leaves the display closed.
void SdlVideo::Fail(const std::string& what)
{
    const std::string message = what + ": " + SDL_GetError();
    Close();
    throw std::runtime_error(message);
}

void SdlVideo::Open(int width, int height, bool openWindowed)
{
    Close();
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("Cannot open the display: invalid size");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("Cannot start the video system: ") + SDL_GetError());
    videoStarted = true;
    windowed = openWindowed;
    const Uint32 flags = windowed ? 0u : Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP);
    window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!window)
        Fail("Cannot create the game window");
    CreateRenderer();
    if (SDL_RenderSetLogicalSize(renderer, width, height) != 0)
        Fail("Cannot set the logical display size");
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!texture)
        Fail("Cannot create the display texture");
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    textureWidth = width;
    textureHeight = height;
    // The game draws its own cursor.
    SDL_ShowCursor(SDL_DISABLE);
    // Keys drive tanks, they never type: an input method must not swallow them.
    SDL_StopTextInput();
}

// Vsync paces presenting to the screen; a machine without an accelerated renderer still gets a picture.
void SdlVideo::CreateRenderer()
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer)
        Fail("Cannot create a renderer for the game window");
}

void SdlVideo::Close()
{
    if (texture)
        SDL_DestroyTexture(texture);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (window)
    {
        SDL_ShowCursor(SDL_ENABLE);
        SDL_DestroyWindow(window);
    }
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    textureWidth = textureHeight = 0;
    if (videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted = false;
}

void SdlVideo::Present(const std::uint16_t* pixels, int width, int height, int pitch)
{
    if (!pixels || width <= 0 || height <= 0 || pitch < width)
        throw std::invalid_argument("Present: invalid frame");
    if (!texture)
        return;
    // A frame of another size fills what fits; the rest of the texture keeps its last picture.
    const SDL_Rect area{0, 0, std::min(width, textureWidth), std::min(height, textureHeight)};
    SDL_UpdateTexture(texture, &area, pixels, pitch * int(sizeof(std::uint16_t)));
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

void SdlVideo::SetCaption(const std::string& utf8)
{
    caption = utf8;
    if (window)
        SDL_SetWindowTitle(window, caption.c_str());
}

void SdlVideo::ToggleFullscreen()
{
    if (!window)
        return;
    const Uint32 mode = windowed ? Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u;
    if (SDL_SetWindowFullscreen(window, mode) == 0)
        windowed = !windowed;
}

std::unique_ptr<Video> MakeSdlVideo()
{
    return std::make_unique<SdlVideo>();
}

}  // namespace vorlanex
