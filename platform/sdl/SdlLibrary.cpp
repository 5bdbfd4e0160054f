// Loads SDL2 by its run-time name, once (see the header).
#include "platform/sdl/SdlLibrary.h"

#include <dlfcn.h>

#include <future>
#include <mutex>
#include <vector>

namespace {

// SDL2's name on Linux, whatever the minor version installed.
constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

struct CLoaded {
    CSdlApi api;
    std::string error; // empty when loaded
};

// Who waits for the load's end, and whether it has ended.
struct CLoadEnd {
    std::mutex mutex;
    bool ended = false;
    std::vector<std::function<void()>> waiting;
};

CLoadEnd& LoadEnd() {
    static CLoadEnd end;
    return end;
}

CLoaded LoadLibrary();

CLoaded Load() {
    CLoaded out = LoadLibrary();
    std::vector<std::function<void()>> waiting;
    {
        CLoadEnd& end = LoadEnd();
        std::lock_guard lock(end.mutex);
        end.ended = true;
        waiting.swap(end.waiting);
    }
    for (auto& done : waiting)
        done();
    return out;
}

CLoaded LoadLibrary() {
    CLoaded out;
    // Never closed: SDL's own threads and handlers may outlive any owner.
    void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        out.error = std::string("cannot load ") + kLibraryName + (why ? std::string(": ") + why : std::string());
        return out;
    }
#define ORB_SDL_RESOLVE(name)                                                                        \
    out.api.name = reinterpret_cast<decltype(out.api.name)>(dlsym(library, "SDL_" #name));           \
    if (!out.api.name && out.error.empty())                                                          \
        out.error = std::string(kLibraryName) + " has no SDL_" #name;
    ORB_SDL_FUNCTIONS(ORB_SDL_RESOLVE)
#undef ORB_SDL_RESOLVE
    return out;
}

// Made on first use, by whichever thread comes first; the load runs once.
const std::shared_future<CLoaded>& Loading() {
    static const std::shared_future<CLoaded> loading = std::async(std::launch::async, Load).share();
    return loading;
}

} // namespace

void PreloadSdl() { Loading(); }

void WhenSdlLoadEnds(std::function<void()> done) {
    CLoadEnd& end = LoadEnd();
    {
        std::lock_guard lock(end.mutex);
        if (!end.ended) {
            end.waiting.push_back(std::move(done));
            return;
        }
    }
    done();
}

const CSdlApi* LoadSdl(std::string* error) {
    const CLoaded& loaded = Loading().get();
    if (!loaded.error.empty()) {
        if (error)
            *error = loaded.error;
        return nullptr;
    }
    return &loaded.api;
}
