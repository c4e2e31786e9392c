// qasp skin pack DIR -o FILE and qasp skin info FILE: for skin authors, and
// for the build, which packs the program's own skin.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "project/asp_writer.h"
#include "skin/data/lzh.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"
#include "text/byte_string.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#ifdef QASP_HAVE_SKIN_MODEL
#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;
#endif

namespace qasp::cli {
namespace {

namespace fs = std::filesystem;

int Pack(Arguments args)
{
    const std::optional<std::string> out = args.TakeOption("-o");
    const std::string usage = "qasp skin pack DIR -o FILE";
    const std::string dir = args.Positional(1, usage)[0];
    if (!out)
        throw CommandError("usage: " + usage);
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        throw CommandError(dir + ": not a directory");
    std::vector<std::pair<std::string, std::string>> pictures, descriptions;
    for (const auto &entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        const std::string lower = LowerAscii(name);
        if (lower.size() > 4 && lower.substr(lower.size() - 4) == ".bmp")
            pictures.emplace_back(name, ReadFileBytes(entry.path().string(), skin::kMaxSkinFileBytes));
        else if (lower.find(".ini") != std::string::npos)
            descriptions.emplace_back(name, ReadFileBytes(entry.path().string(), skin::kMaxSkinFileBytes));
    }
    if (descriptions.size() != 1)
        throw CommandError(dir + ": a skin needs exactly one description (*.ini), found "
                           + std::to_string(descriptions.size()));
    if (pictures.size() + 1 > skin::TSkinReader::kMaxEntries)
        throw CommandError(dir + ": more pictures than a skin can hold (1000)");
    std::sort(pictures.begin(), pictures.end());
    pictures.push_back(descriptions.front());
    WriteFileAtomically(*out, skin::LzhEncode(skin::BuildSkinContainer(pictures)));
    return 0;
}

#ifdef QASP_HAVE_SKIN_MODEL
// The model is listed by qasp-skin-model, beside this program in the build
// and in lib/quillmere-asp/ when installed: only it loads Qt's libraries.
fs::path ModelLister()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const fs::path dir = self.parent_path();
    for (const fs::path &candidate :
         {dir / "qasp-skin-model", dir / ".." / "lib" / "quillmere-asp" / "qasp-skin-model"})
        if (fs::is_regular_file(candidate, ec))
            return candidate;
    throw CommandError("qasp-skin-model was not found beside " + self.string());
}

void ListModel(const std::string &file)
{
    const std::string lister = ModelLister().string();
    std::cout.flush();  // its lines follow ours on the same output
    std::vector<char *> argv = {const_cast<char *>(lister.c_str()), const_cast<char *>(file.c_str()),
                                nullptr};
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, lister.c_str(), nullptr, nullptr, argv.data(), environ))
        throw CommandError(lister + ": " + std::strerror(error));
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            throw CommandError(lister + ": " + std::strerror(errno));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw CommandError(lister + " could not list the skin's model");
}
#endif

int Info(Arguments args)
{
    const std::string file = args.Positional(1, "qasp skin info FILE")[0];
    skin::TSkinReader reader;
    reader.ShowMessage = [](const std::string &m) { std::cerr << m << '\n'; };
    if (!reader.ReadSkin(ReadFileBytes(file, skin::kMaxSkinFileBytes)))
        throw CommandError(file + ": not a usable skin: " + reader.LastError());
    size_t decoded = 16 + reader.DataSize();
    for (size_t i = 0; i < reader.Names().size(); ++i) {
        std::cout << reader.Names()[i] << '\t' << reader.Sizes()[i] << '\n';
        decoded += reader.Names()[i].size() + 2 + 4;
    }
    std::string iniName;
    skin::TQuickIni ini;
    ini.Load(reader.ExtractFirstMatch(".ini", iniName));
    std::cout << "name: " << ini.ReadString("TitlebarSkin", "SkinName", "") << '\n'
              << "description: " << iniName << '\n'
              << "compressed: " << fs::file_size(file) << " bytes, decoded: " << decoded << " bytes\n";
#ifdef QASP_HAVE_SKIN_MODEL
    ListModel(file);
#endif
    return 0;
}

}  // namespace

int SkinCommand(Arguments args)
{
    const std::string verb = args.TakeVerb("qasp skin pack DIR -o FILE | qasp skin info FILE");
    if (verb == "pack")
        return Pack(std::move(args));
    if (verb == "info")
        return Info(std::move(args));
    throw CommandError("usage: qasp skin pack DIR -o FILE | qasp skin info FILE");
}

}  // namespace qasp::cli
