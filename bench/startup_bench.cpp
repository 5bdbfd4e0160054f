// Start-up to the painted main menu against the embedded simulator, whole
// and in its steps, each next to a floor measured in the same run:
//
//   BM_StartupToPaintedMenu  the program started in this process over the
//                            data folder of an earlier start (the usual
//                            case), the font cold as in a new process (or
//                            kept: cold_font:0); floor: the same two
//                            exchanges (logon, fetch) as bare loopback POSTs
//                            of the same bytes to the same simulator.
//   BM_StartupFromExec       the same start as a process of its own, timed
//                            from exec; floor (x_floor): a minimal program
//                            linking the same SDL2 that shows a window of
//                            the phone's size; beside it (x_exec_to_main)
//                            the same program leaving at main (exec and
//                            loading its libraries).
//   BM_StartupStep_*         font, logon, fetch, files, first paint.
//   BM_SealAndOpenMessage    one message sealed and opened under a session
//                            key; floor: the cipher alone both ways.
//
// Counters ending in "_ms"/"_us" are medians of interleaved samples; "x_..."
// is the figure over its floor.
// Blowfish's block functions, for the floor of the seal benchmark.
#define OPENSSL_SUPPRESS_DEPRECATED 1
#include "bench/BenchRoad.h"

#include "core/CDataSetList.h"
#include "core/SealEnvelope.h"
#include "framework/app/CAppData.h"
#include "framework/app/CStartupLogon.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/CServiceLogon.h"
#include "framework/net/RequestText.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/CSurface.h"
#include "platform/system/Environment.h"
#include "platform/win/UiMessageLoop.h"

#include <benchmark/benchmark.h>
#include <openssl/blowfish.h>

#include <cstring>


namespace {

using namespace benchroad;

const std::string kPublicKey = ORB_SOURCE_DIR "/resources/pubkey.bin";

// Drops the loaded face and fontconfig's configuration, so the next load is
// as cold as a new process's (the files stay in the page cache).
void MakeFontCold() { CFontEngine::Instance().Unload(); }

CCommonTail BenchTail() {
    CCommonTail tail;
    tail.imei = "BENCH0000000001";
    tail.mobile = "13800000000";
    tail.sysVer = "Linux_6.1";
    return tail;
}

// The wire bytes of the start-up's logon and fetch, as a start sent them.
struct CStartWire {
    std::string logon;
    std::string fetch;
};

CStartWire CaptureStartWire(const std::string& dataDir) {
    CBenchProgram program(dataDir);
    CStartWire wire;
    for (const SimRequest& request : program.Simulator().GetRequestLog()) {
        if (request.main == 100 && request.sub == 1 && wire.logon.empty())
            wire.logon = WireBytes(request);
        else if (request.main == 100 && request.sub == 2 && wire.fetch.empty())
            wire.fetch = WireBytes(request);
    }
    return wire;
}

void BM_StartupToPaintedMenu(benchmark::State& state) {
    CTempFolder folder("start");
    const CStartWire wire = CaptureStartWire(folder.Path());
    if (wire.logon.empty() || wire.fetch.empty()) {
        state.SkipWithError("the start-up's requests were not seen");
        return;
    }
    const bool coldFont = state.range(0) != 0;
    std::vector<double> starts, floors;
    for (auto _ : state) {
        if (coldFont)
            MakeFontCold();
        const double t0 = NowUs();
        auto program = std::make_unique<CBenchProgram>(folder.Path());
        const double t1 = NowUs();
        if (!program->Started()) {
            state.SkipWithError("the program did not reach its main menu");
            break;
        }
        state.SetIterationTime((t1 - t0) / 1e6);
        starts.push_back(t1 - t0);
        // The floor on the same simulator, on a fresh connection as the
        // start-up's first request has.
        CBarePost bare(program->Port());
        const double f0 = NowUs();
        const bool answered = bare.Exchange(wire.logon) > 0 && bare.Exchange(wire.fetch) > 0;
        const double f1 = NowUs();
        if (!answered) {
            state.SkipWithError("the bare exchange failed");
            break;
        }
        floors.push_back(f1 - f0);
        bare.Close();
        program.reset();
    }
    const double start = Median(starts), floor = Median(floors);
    state.counters["start_ms"] = start / 1000;
    state.counters["floor_2posts_ms"] = floor / 1000;
    state.counters["x_floor"] = floor > 0 ? start / floor : 0;
}
BENCHMARK(BM_StartupToPaintedMenu)
    ->ArgName("cold_font")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(60);

#ifdef ORB_START_ONCE
// Runs a program with one argument (none when empty) and the environment
// with extra settings ("NAME=value") before it; its printed numbers, or empty.
std::vector<long long> RunProgram(const std::string& program, const std::string& argument,
                                  const std::vector<std::string>& extraEnv = {}) {
    const std::optional<std::string> text =
        RunForOutput(program, argument.empty() ? std::vector<std::string>{} : std::vector<std::string>{argument},
                     extraEnv, false);
    std::vector<long long> values;
    for (const char* p = text ? text->c_str() : ""; *p;) {
        char* end = nullptr;
        long long v = std::strtoll(p, &end, 10);
        if (end == p)
            break;
        values.push_back(v);
        p = end;
    }
    return values;
}

// Without a display, the window goes to SDL's off-screen driver, asked for
// by name as the desktop host wants.
std::vector<std::string> WindowEnvironment() {
    if (EnvironmentValue("DISPLAY").empty() && EnvironmentValue("WAYLAND_DISPLAY").empty() &&
        EnvironmentValue("SDL_VIDEODRIVER").empty())
        return {"SDL_VIDEODRIVER=offscreen"};
    return {};
}

std::vector<long long> RunChild(const std::string& argument) {
    return RunProgram(ORB_START_ONCE, argument, WindowEnvironment());
}

long long MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

void BM_StartupFromExec(benchmark::State& state) {
    CTempFolder folder("exec");
    RunChild(folder.Path()); // the first start makes the data files
    const std::vector<std::string> floorEnv = WindowEnvironment();
    std::vector<double> toMain, toPainted, floors, windowFloors;
    for (auto _ : state) {
        const long long t0 = MonotonicNs();
        const std::vector<long long> start = RunChild(folder.Path());
        if (start.size() != 2 || start[1] == 0) {
            state.SkipWithError("the child did not reach its main menu");
            break;
        }
        toMain.push_back((start[0] - t0) / 1e3);
        toPainted.push_back((start[1] - t0) / 1e3);
        state.SetIterationTime((start[1] - t0) / 1e9);
        const long long f0 = MonotonicNs();
        const std::vector<long long> bare = RunChild("--at-main");
        if (bare.size() != 1) {
            state.SkipWithError("the child did not run");
            break;
        }
        floors.push_back((bare[0] - f0) / 1e3);
#ifdef ORB_SDL_FLOOR
        const long long w0 = MonotonicNs();
        const std::vector<long long> shown = RunProgram(ORB_SDL_FLOOR, "", floorEnv);
        if (shown.size() != 1) {
            state.SkipWithError("the SDL floor program showed no window");
            break;
        }
        windowFloors.push_back((shown[0] - w0) / 1e3);
#endif
    }
    const double painted = Median(toPainted), floor = Median(floors);
    state.counters["exec_to_painted_ms"] = painted / 1000;
    state.counters["exec_to_main_ms"] = Median(toMain) / 1000;
    state.counters["main_to_painted_ms"] = (painted - Median(toMain)) / 1000;
    state.counters["floor_exec_to_main_ms"] = floor / 1000;
    state.counters["x_exec_to_main"] = floor > 0 ? painted / floor : 0;
    const double window = Median(windowFloors);
    state.counters["floor_sdl_window_ms"] = window / 1000;
    state.counters["x_floor"] = window > 0 ? painted / window : 0;
}
BENCHMARK(BM_StartupFromExec)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
#endif

// ---- The steps ----

// One message sealed and opened under a session key, as every sealed
// request and reply is on each side; floor: Blowfish-CBC of the same bytes
// both ways with a key schedule made once (the cipher's own work).
void BM_SealAndOpenMessage(benchmark::State& state) {
    const char* key = "K3yOfTheSession1";
    std::vector<uint8_t> plain(848);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<uint8_t>(i * 7 + 3);
    std::vector<uint8_t> sealed(SealedSize(static_cast<int>(plain.size()))), opened(sealed.size());
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(std::strlen(key)), reinterpret_cast<const unsigned char*>(key));
    std::vector<uint8_t> cipher(sealed.size()), back(sealed.size());
    std::vector<double> messages, floors;
    for (auto _ : state) {
        const double t0 = NowUs();
        SealData(key, plain.data(), static_cast<int>(plain.size()), sealed.data());
        const int n = OpenSealedData(key, sealed.data(), static_cast<int>(sealed.size()), opened.data());
        const double t1 = NowUs();
        benchmark::DoNotOptimize(n);
        messages.push_back(t1 - t0);
        state.SetIterationTime((t1 - t0) / 1e6);
        const double f0 = NowUs();
        unsigned char iv[8] = {};
        BF_cbc_encrypt(plain.data(), cipher.data(), static_cast<long>(plain.size()), &schedule, iv, BF_ENCRYPT);
        unsigned char iv2[8] = {};
        BF_cbc_encrypt(cipher.data(), back.data(), static_cast<long>(plain.size()), &schedule, iv2, BF_DECRYPT);
        benchmark::ClobberMemory();
        floors.push_back(NowUs() - f0);
    }
    state.counters["seal_open_us"] = Median(messages);
    state.counters["floor_cipher_us"] = Median(floors);
    state.counters["x_floor"] = Median(floors) > 0 ? Median(messages) / Median(floors) : 0;
}
BENCHMARK(BM_SealAndOpenMessage)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_StartupStep_Font(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        MakeFontCold();
        state.ResumeTiming();
        benchmark::DoNotOptimize(CFontEngine::Instance().LoadDefaultFont());
    }
}
BENCHMARK(BM_StartupStep_Font)->Unit(benchmark::kMillisecond)->Iterations(40);

// The logon exchange on a fresh connection (as the start-up's first
// request), RSA on both sides included; floor: its bytes sent bare.
void BM_StartupStep_Logon(benchmark::State& state) {
    CBrokerSimulator simulator;
    const int port = simulator.Start(0);
    CHttpPostClient client;
    client.SetServer("127.0.0.1", port);
    std::string key, session;
    std::vector<double> logons, floors;
    for (auto _ : state) {
        client.Disconnect();
        const double t0 = NowUs();
        const int code = CServiceLogon::Run(client, kPublicKey, BenchTail(), &key, &session);
        const double t1 = NowUs();
        if (code != 0) {
            state.SkipWithError("the logon failed");
            break;
        }
        logons.push_back(t1 - t0);
        state.SetIterationTime((t1 - t0) / 1e6);
        const std::vector<SimRequest> log = simulator.GetRequestLog();
        CBarePost bare(port);
        const double f0 = NowUs();
        bare.Exchange(WireBytes(log.back()));
        floors.push_back(NowUs() - f0);
        simulator.ClearRequestLog();
    }
    state.counters["logon_us"] = Median(logons);
    state.counters["floor_post_us"] = Median(floors);
    state.counters["x_floor"] = Median(floors) > 0 ? Median(logons) / Median(floors) : 0;
}
BENCHMARK(BM_StartupStep_Logon)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

// The configuration fetch over the kept connection: sealing, the exchange,
// opening and unpacking; floor: its bytes sent bare.
void BM_StartupStep_Fetch(benchmark::State& state) {
    CBrokerSimulator simulator;
    const int port = simulator.Start(0);
    CHttpPostClient client;
    client.SetServer("127.0.0.1", port);
    std::string key, session;
    if (CServiceLogon::Run(client, kPublicKey, BenchTail(), &key, &session) != 0) {
        state.SkipWithError("the logon failed");
        return;
    }
    CCommonTail tail = BenchTail();
    tail.session = session;
    CBarePost bare(port);
    std::vector<double> fetches, floors;
    for (auto _ : state) {
        ++tail.reqNo;
        const double t0 = NowUs();
        std::string text;
        ComposeRequest(100, 2, "", tail, true, key, &text);
        CHttpOutcome outcome = client.Post(text, key);
        const double t1 = NowUs();
        if (outcome.transportCode != 0 || outcome.body.empty()) {
            state.SkipWithError("the fetch failed");
            break;
        }
        fetches.push_back(t1 - t0);
        state.SetIterationTime((t1 - t0) / 1e6);
        const std::vector<SimRequest> log = simulator.GetRequestLog();
        const std::string wire = WireBytes(log.back());
        const double f0 = NowUs();
        bare.Exchange(wire);
        floors.push_back(NowUs() - f0);
        simulator.ClearRequestLog();
    }
    state.counters["fetch_us"] = Median(fetches);
    state.counters["floor_post_us"] = Median(floors);
    state.counters["x_floor"] = Median(floors) > 0 ? Median(fetches) / Median(floors) : 0;
}
BENCHMARK(BM_StartupStep_Fetch)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(300);

// What the start-up does with the fetched files when they are the ones a
// start before stored: "Menus" and "config" written, the menu tree read back.
void BM_StartupStep_Files(benchmark::State& state) {
    CTempFolder folder("files");
    std::string menus, config;
    {
        CBrokerSimulator simulator;
        const int port = simulator.Start(0);
        CHttpPostClient client;
        client.SetServer("127.0.0.1", port);
        std::string key, session, text;
        CCommonTail tail = BenchTail();
        if (CServiceLogon::Run(client, kPublicKey, tail, &key, &session) == 0) {
            tail.session = session;
            ComposeRequest(100, 2, "", tail, true, key, &text);
            CHttpOutcome outcome = client.Post(text, key);
            CStartupLogon::SplitConfigReply(outcome.body.data(), static_cast<int>(outcome.body.size()), &menus,
                                            &config);
        }
    }
    CAppData* app = CAppData::Create(folder.Path());
    if (menus.empty() || !app) {
        state.SkipWithError("no configuration to write");
        CAppData::Destroy();
        return;
    }
    app->WriteDatFile("Menus", menus.data(), menus.size());
    app->WriteDatFile("config", config.data(), config.size());
    for (auto _ : state) {
        app->WriteDatFile("Menus", menus.data(), menus.size());
        app->WriteDatFile("config", config.data(), config.size());
        benchmark::DoNotOptimize(app->GetMenuTree());
    }
    state.counters["bytes"] = static_cast<double>(menus.size() + config.size());
    CAppData::Destroy();
}
BENCHMARK(BM_StartupStep_Files)->Unit(benchmark::kMicrosecond)->Iterations(200);

// The main menu's first paint: every glyph rendered afresh (the font
// reloaded, so its glyph cache is empty); floor: a fill of the same surface.
void BM_StartupStep_FirstPaint(benchmark::State& state) {
    CTempFolder folder("paint");
    CBenchProgram program(folder.Path());
    if (!program.Started()) {
        state.SkipWithError("the program did not reach its main menu");
        return;
    }
    CFontEngine& engine = CFontEngine::Instance();
    std::vector<double> paints, fills;
    CSurface surface(480, 720);
    program.Driver().RunOnGui([&] {
        UiMessageLoop* loop = UiMessageLoop::Current();
        for (auto _ : state) {
            engine.LoadDefaultFont(); // empties the glyph cache
            const double t0 = NowUs();
            loop->PaintNow();
            const double t1 = NowUs();
            paints.push_back(t1 - t0);
            state.SetIterationTime((t1 - t0) / 1e6);
            const double f0 = NowUs();
            std::memset(surface.Row(0), 0x20, sizeof(COLORREF) * 480 * 720);
            benchmark::ClobberMemory();
            fills.push_back(NowUs() - f0);
        }
    });
    state.counters["paint_us"] = Median(paints);
    state.counters["floor_fill_us"] = Median(fills);
    state.counters["x_floor"] = Median(fills) > 0 ? Median(paints) / Median(fills) : 0;
}
BENCHMARK(BM_StartupStep_FirstPaint)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(100);

} // namespace
