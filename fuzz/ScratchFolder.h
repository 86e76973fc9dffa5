#pragma once
// A scratch folder for fuzz targets whose readers take a file path: one per
// process, removed at exit (never before, so the exit handler can still use
// it). Inputs are written to a file in it and read back by the reader.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fuzz
{

inline const std::filesystem::path& ScratchFolder()
{
    static const auto* folder = [] {
        auto* dir = new std::filesystem::path(
            std::filesystem::temp_directory_path() / ("kv-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*dir);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return dir;
    }();
    return *folder;
}

// The path of `name` in the scratch folder.
inline std::string ScratchFile(const std::string& name)
{
    return (ScratchFolder() / name).string();
}

// Writes the input bytes to `name` in the scratch folder; returns its path.
inline std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = ScratchFile(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

} // namespace fuzz
