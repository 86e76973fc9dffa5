// LoadConfig on arbitrary bytes. Beyond not crashing, a configuration that
// was loaded and saved must load and save to the same bytes again: what the
// reader accepts, the writer must write back in a form the reader keeps.
#include "nav/KVconfig.h"
#include "nav/NavState.h"
#include "rtl/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

// One folder per process, removed at exit (never destroyed before that, so
// the exit handler can still use it).
const std::filesystem::path& ScratchFolder()
{
    static const auto* folder = [] {
        auto* dir = new std::filesystem::path(
            std::filesystem::temp_directory_path() / ("kv-config-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*dir);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return dir;
    }();
    return *folder;
}

std::string ScratchFile(const char* name)
{
    return (ScratchFolder() / name).string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = ScratchFile("input.cfg");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ResetNavState();
    LoadConfig(input);

    const std::string first = ScratchFile("first.cfg");
    const std::string second = ScratchFile("second.cfg");
    SaveConfigFile(first);
    LoadConfig(first);
    SaveConfigFile(second);
    if (rtl::ReadFileBytes(first) != rtl::ReadFileBytes(second))
        std::abort();
    return 0;
}
