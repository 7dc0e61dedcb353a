#include "platform/toolkit/Platform.h"

#include <utility>

#include "platform/toolkit/DefaultPlatform.h"

namespace toolkit {

namespace {

Platform*& InstalledPlatform() {
    static Platform* installed = nullptr;
    return installed;
}

}  // namespace

Platform& Platform::Installed() {
    static DefaultPlatform bare;
    Platform* const installed = InstalledPlatform();
    return installed != nullptr ? *installed : bare;
}

Platform::Installation::Installation(Platform& platform) : previous_(std::exchange(InstalledPlatform(), &platform)) {}

Platform::Installation::~Installation() { InstalledPlatform() = previous_; }

}  // namespace toolkit
