#include "platform/sdl2/SdlVideo.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {

bool IsVirtualVideoDriver()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return !driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

std::string WindowUnavailableReason()
{
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen)
        return {};
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return std::string("the video system does not start (") + SDL_GetError() + ")";
    const bool unseen = IsVirtualVideoDriver();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (!unseen)
        return {};
    const char* x11 = SDL_getenv("DISPLAY");
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    if (x11 && *x11)
        return std::string("no display (nothing answers at DISPLAY=") + x11 + ")";
    if (wayland && *wayland)
        return std::string("no display (nothing answers at WAYLAND_DISPLAY=") + wayland + ")";
    return "no display (DISPLAY is not set)";
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
    textureWidth = width;
    textureHeight = height;
    CreatePresenter();
    // The game draws its own cursor.
    SDL_ShowCursor(SDL_DISABLE);
    // Keys drive tanks, they never type: an input method must not swallow them.
    SDL_StopTextInput();
}

namespace {

// A GL renderer that Mesa runs on the processor (llvmpipe, softpipe, swrast) costs several times the CPU of
// SDL's own software renderer drawing straight into a window of the game's size (scaling to a full screen is
// the one job it does better).
bool IsSoftwareGl(SDL_Renderer* renderer)
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::string_view(info.name).find("opengl") == std::string_view::npos)
        return false;
    if (!SDL_GL_GetCurrentContext())
        return false;
    using GetString = const unsigned char* (*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
    if (!name)
        return false;
    const std::string_view gl(reinterpret_cast<const char*>(name));
    return gl.find("llvmpipe") != gl.npos || gl.find("softpipe") != gl.npos || gl.find("swrast") != gl.npos ||
           gl.find("Software Rasterizer") != gl.npos;
}

// Without a graphics device node, whatever GL the system offers runs on the processor. In a window it is then
// not even tried: loading it alone costs about half a second and a hundred megabytes before it would be found
// to be software and dropped.
bool HasGraphicsDevice()
{
    std::error_code error;
    for (const char* node : {"/dev/dri", "/dev/nvidiactl"})
        if (std::filesystem::exists(node, error))
            return true;
    return false;
}

}  // namespace

// Vsync paces presenting to the screen; a machine without an accelerated renderer still gets a picture.
// No renderer kind is demanded first, so SDL's own order (accelerated first) and the SDL_RENDER_DRIVER hint
// both apply; in a window, a GL that is (or, without a graphics device, must be) software gives way to the
// plain software renderer.
void SdlVideo::CreateRenderer()
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    const bool driverChosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (windowed && !driverChosen && !HasGraphicsDevice())
    {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    }
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer && windowed && IsSoftwareGl(renderer))
    {
        SDL_DestroyRenderer(renderer);
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    }
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

// The best renderer differs between a window and a scaled full screen, so it is chosen again.
void SdlVideo::ToggleFullscreen()
{
    if (!window)
        return;
    const Uint32 mode = windowed ? Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u;
    if (SDL_SetWindowFullscreen(window, mode) != 0)
        return;
    windowed = !windowed;
    SDL_DestroyTexture(texture);
    texture = nullptr;
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    CreatePresenter();
}

// Renderer and streaming texture for the logical size.
void SdlVideo::CreatePresenter()
{
    CreateRenderer();
    if (SDL_RenderSetLogicalSize(renderer, textureWidth, textureHeight) != 0)
        Fail("Cannot set the logical display size");
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, textureWidth,
                                textureHeight);
    if (!texture)
        Fail("Cannot create the display texture");
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
}

std::unique_ptr<Video> MakeSdlVideo()
{
    return std::make_unique<SdlVideo>();
}

}  // namespace vorlanex
