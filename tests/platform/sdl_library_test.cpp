// SDL2 loaded at run time: every function the desktop host calls is found,
// and a load begun early is the one later calls wait for and share.
#include <gtest/gtest.h>

#if defined(ORB_HAVE_SDL_HOST)

#include "platform/sdl/SdlLibrary.h"

TEST(SdlLibraryTest, APreloadIsTheOneLoadEveryLaterCallGetsWithEveryFunctionFound) {
    PreloadSdl();
    PreloadSdl();
    std::string error;
    const CSdlApi* api = LoadSdl(&error);
    ASSERT_NE(api, nullptr) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(LoadSdl(), api);
#define ORB_SDL_FOUND(name) EXPECT_NE(api->name, nullptr) << "SDL_" #name;
    ORB_SDL_FUNCTIONS(ORB_SDL_FOUND)
#undef ORB_SDL_FOUND
}

#endif
