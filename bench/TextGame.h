#pragma once
// A whole game on the null platform for frame benchmarks, its text drawn with the installed fonts as the game
// draws it, so that a frame costs what a real one does.

#include "assets/BuiltinAssets.h"
#include "platform/null/NullAudio.h"
#include "platform/null/NullPlatform.h"
#include "platform/sdl2/SdlPlatform.h"
#include "shell/MainForm.h"

namespace vorlanex::bench {

struct TextGame
{
    TextGame() : platform(MakePlatform(parts)), form(platform, MakeConfig()) { form.FormCreate(); }

    // One call of the frame handler, as the timer makes it.
    void Frame()
    {
        parts.clock->now += 33;
        form.DXTimer.Idle();
    }

    // The first error the game reported, or `otherwise` when it reported none.
    const char* ErrorOr(const char* otherwise) const
    {
        return form.ReportedErrors().empty() ? otherwise : form.ReportedErrors().front().c_str();
    }

    NullPlatformParts parts;
    Platform platform;
    TMainForm form;

private:
    static Platform MakePlatform(NullPlatformParts& parts)
    {
        Platform made = MakeNullPlatform(&parts);
        made.text = MakeSdlText();
        Clock* clock = made.clock.get();
        made.makeAudio = [clock] { return MakeNullAudioDevice(*clock); };
        return made;
    }

    static GameConfig MakeConfig()
    {
        GameConfig config;
        config.appDir = VORLANEX_BUILD_DIR "/";
        config.seed = 1;
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        return config;
    }
};

}  // namespace vorlanex::bench
