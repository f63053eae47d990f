#include <corvendi/HeadlessPlatform.h>
#include <corvendi/Platform.h>

#include "common/ThreadInstance.h"

namespace corvendi {

namespace {

std::shared_ptr<Platform>& ThreadPlatform() {
    return detail::ThreadInstance<std::shared_ptr<Platform>>();
}

}  // namespace

std::shared_ptr<Platform> CurrentPlatformPtr() {
    std::shared_ptr<Platform>& platform = ThreadPlatform();
    if (!platform) platform = std::make_shared<HeadlessPlatform>();
    return platform;
}

Platform& CurrentPlatform() {
    std::shared_ptr<Platform>& platform = ThreadPlatform();
    if (!platform) platform = std::make_shared<HeadlessPlatform>();
    return *platform;
}

void SetPlatform(std::shared_ptr<Platform> platform) {
    ThreadPlatform() = platform ? std::move(platform) : std::make_shared<HeadlessPlatform>();
}

}  // namespace corvendi
