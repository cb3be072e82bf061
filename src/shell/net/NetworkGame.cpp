#include "shell/net/NetworkGame.h"

#include <cstdio>
#include <memory>

#include "shell/MainForm.h"
#include "shell/automation/CommandLine.h"
#include "shell/automation/InputRecorder.h"
#include "shell/automation/StateDump.h"
#include "shell/net/DataDigests.h"
#include "shell/net/NetworkInput.h"

namespace vorlanex {

namespace {

constexpr int kEscape = 0x1B, kF4 = 0x73;
constexpr std::uint32_t kWaitingRedrawMs = 100;

// Esc, Alt+F4 or the window's close while no game runs yet.
bool LeavesWaiting(const InputEvent& e)
{
    return e.kind == EventKind::Quit ||
           (e.kind == EventKind::KeyDown && (e.key == kEscape || (e.key == kF4 && e.alt)));
}

void Tell(const std::string& message) { std::fprintf(stderr, "vorlanex: %s\n", message.c_str()); }

// Until the handshake is done: the waiting screen, the host's events and the network. False when the player
// left or the session ended.
bool WaitForPartner(TMainForm& form, Events& local, LockstepSession& session, const std::string& status)
{
    std::uint32_t lastDrawn = 0;
    bool drawn = false;
    while (session.State() == SessionState::Waiting)
    {
        InputEvent e;
        while (local.Poll(e))
            if (LeavesWaiting(e))
                return false;
        const std::uint32_t now = form.platform.clock->NowMs();
        if (!drawn || now - lastDrawn >= kWaitingRedrawMs)
        {
            form.DrawNotice(status);
            lastDrawn = now;
            drawn = true;
        }
        session.Service(20);
        for (const std::string& notice : session.TakeNotices())
            Tell(notice);
    }
    return session.State() == SessionState::Playing;
}

int ExitCodeOf(SessionEnd end)
{
    switch (end)
    {
    case SessionEnd::None:
    case SessionEnd::PartnerLeft: return 0;
    case SessionEnd::OutOfStep: return ExitOutOfStep;
    default: return ExitNetworkFailed;
    }
}

void WriteDumps(const TMainForm& form, const NetworkGameOptions& options, SessionEnd end)
{
    std::string path = options.dumpState;
    // Whatever went wrong can be looked into: without --dump-state the state goes beside the recording.
    if (path.empty() && !options.record.empty() && (end == SessionEnd::OutOfStep || end == SessionEnd::PartnerLeft))
        path = options.record + ".state.json";
    if (path.empty())
        return;
    try
    {
        WriteStateDump(form, path);
    }
    catch (const std::exception& e)
    {
        Tell(e.what());
    }
}

}  // namespace

void StartSharedGame(TMainForm& form, const WelcomeMessage& game)
{
    form.Game.Rng.Seed(game.seed);
    form.Game.CurrentLevel = game.level;
    form.Game.MapFileName = LevelMapFileName(form.Game.AppDir, game.level);
    form.Game.Difficulty = game.difficulty;
}

int RunNetworkGame(TMainForm& form, Events& local, OverlayEvents& overlay, Network& network, Clock& realClock,
                   RunOptions run, const NetworkGameOptions& options)
{
    std::unique_ptr<LockstepSession> session;
    std::string status;
    try
    {
        const std::string campaign = form.config.mapsCampaign ? form.config.playerMapsDir : "";
        NetIdentity identity{VersionText(),
                             GameDataDigests(form.config.appDir, campaign, form.config.builtinAssets)};
        session = std::make_unique<LockstepSession>(network, realClock, options.role, std::move(identity));
        if (options.role == NetRole::Host)
        {
            session->Offer({form.config.seed.value_or(0), form.Game.CurrentLevel, form.Game.Difficulty,
                            std::uint8_t(options.delay)});
            network.Host(options.port);
            status = "waiting for player 2 on port " + std::to_string(options.port);
        }
        else
        {
            network.Connect(options.host, options.port);
            status = "connecting to " + options.host + "…";
        }
    }
    catch (const std::exception& e)
    {
        Tell(e.what());
        return ExitNetworkFailed;
    }
    if (!WaitForPartner(form, local, *session, status))
    {
        session->Leave();
        if (session->End() == SessionEnd::None)
            return 0;
        form.platform.system->ReportError(session->EndMessage());
        return ExitNetworkFailed;
    }

    StartSharedGame(form, session->Game());
    std::unique_ptr<InputRecorder> recorder;
    if (!options.record.empty())
    {
        try
        {
            recorder = std::make_unique<InputRecorder>(options.record, session->Game().seed);
        }
        catch (const std::exception& e)
        {
            Tell(e.what());
        }
    }
    NetworkInput input(*session, local);
    if (options.disturbAfterFrame)
        input.DisturbAfterFrame(*options.disturbAfterFrame);
    run.recorder = recorder.get();
    run.shared = &input;
    GameLoop loop(form, &overlay, std::move(run));
    const int code = loop.Run();
    for (const std::string& notice : session->TakeNotices())
        Tell(notice);
    const SessionEnd end = session->End();
    session->Leave();
    if (end != SessionEnd::None)
        form.platform.system->ReportError(session->EndMessage());
    WriteDumps(form, options, end);
    return end == SessionEnd::None ? code : ExitCodeOf(end);
}

}  // namespace vorlanex
