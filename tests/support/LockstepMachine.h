#pragma once
// One machine of a game of two in one process: a whole game on the null platform with the game folder of the
// build, its lockstep session over an in-memory network and its frame loop.

#include <memory>
#include <string>

#include "assets/BuiltinAssets.h"
#include "platform/null/NullPlatform.h"
#include "shell/MainForm.h"
#include "shell/automation/GameLoop.h"
#include "shell/automation/InputRecorder.h"
#include "shell/automation/InputScript.h"
#include "shell/automation/OverlayEvents.h"
#include "shell/net/LockstepSession.h"
#include "shell/net/NetworkGame.h"
#include "shell/net/NetworkInput.h"

namespace vorlanex::testing {

constexpr int kDelay = 3;

inline NetIdentity Identity() { return {"1.0", {{"MAP001.map", 1}, {"MAP002.map", 2}}}; }

// One machine of a shared game: a whole game on the null platform, its session and its frame loop.
struct Machine
{
    Machine(NetRole role, Network& network, const std::string& script, std::uint64_t seed = 0,
            const std::string& record = "")
    {
        platform = MakeNullPlatform(&parts);
        host = std::move(platform.events);
        auto overlaid = std::make_unique<OverlayEvents>(std::make_unique<LocalPointerEvents>(*host));
        overlay = overlaid.get();
        platform.events = std::move(overlaid);
        GameConfig config;
        config.appDir = std::string(VORLANEX_BUILD_DIR) + "/";
        config.seed = seed;
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        form = std::make_unique<TMainForm>(platform, config);
        form->FormCreate();
        session = std::make_unique<LockstepSession>(network, *parts.clock, role, Identity());
        if (role == NetRole::Host)
        {
            session->Offer({seed, 1, 2, kDelay});
            network.Host(1);
        }
        else
            network.Connect("host", 1);
        input = std::make_unique<NetworkInput>(*session, *host);
        if (!record.empty())
            recorder = std::make_unique<InputRecorder>(record, seed);
        run.unpaced = true;
        run.script = ParseInputScript(script, "script").events;
        run.afterUnpacedFrame = [this] { parts.clock->now += 33; };
        run.shared = input.get();
        run.recorder = recorder.get();
    }
    void Begin()
    {
        StartSharedGame(*form, session->Game());
        loop = std::make_unique<GameLoop>(*form, overlay, run);
    }

    NullPlatformParts parts;
    Platform platform;
    std::unique_ptr<Events> host;   // this machine's own events
    OverlayEvents* overlay = nullptr;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<LockstepSession> session;
    std::unique_ptr<NetworkInput> input;
    std::unique_ptr<InputRecorder> recorder;
    RunOptions run;
    std::unique_ptr<GameLoop> loop;
};

// Runs both handshakes to the start of the game; false when it did not start.
inline bool Handshake(Machine& host, Machine& guest)
{
    for (int i = 0; i < 10 && host.session->State() == SessionState::Waiting; ++i)
    {
        guest.session->Service(0);
        host.session->Service(0);
    }
    guest.session->Service(0);
    if (host.session->State() != SessionState::Playing || guest.session->State() != SessionState::Playing)
        return false;
    host.Begin();
    guest.Begin();
    return true;
}

}  // namespace vorlanex::testing
