// A scratch project directory for the loader targets, one per process.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <unistd.h>

namespace qasp::fuzz {

inline const std::filesystem::path &ScratchDir()
{
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("qasp_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d / "inc");
        return d;
    }();
    return dir;
}

inline void WriteScratch(const std::string &name, std::string_view bytes)
{
    std::ofstream(ScratchDir() / name, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadScratch(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace qasp::fuzz
