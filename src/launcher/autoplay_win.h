// The launcher: start-up sound, splash, then the target in the viewer or through the shell.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "core/launch_config.h"

namespace vk {

struct SoundJob {
    explicit SoundJob(std::string soundPath) : path(std::move(soundPath)) {}
    const std::string path;
    // Written once by the sound thread, polled by the main thread.
    std::atomic<bool> done{false};
};

void RunAutoplay(const LaunchConfig& config);
DWORD WINAPI PlaySoundThread(void* job);

} // namespace vk
