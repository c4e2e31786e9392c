// A scratch folder for a test, removed with it, and whole-file reading.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace qasp::testing {

class ScratchDir {
public:
    explicit ScratchDir(const std::string &purpose)
        : path_(std::filesystem::temp_directory_path()
                / ("qasp_" + purpose + "_" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const std::filesystem::path &Path() const { return path_; }
    std::filesystem::path operator/(const std::string &name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteAll(const std::filesystem::path &p, const std::string &bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

}  // namespace qasp::testing
