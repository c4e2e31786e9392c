#include "cli/command_line.h"

#include "editor/keyword_store.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace qasp::cli {

std::optional<std::string> Arguments::TakeOption(const std::string &name)
{
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return std::nullopt;
    if (it + 1 == args_.end())
        throw CommandError(name + " needs a value");
    std::string value = *(it + 1);
    args_.erase(it, it + 2);
    return value;
}

bool Arguments::TakeFlag(const std::string &name)
{
    const auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end())
        return false;
    args_.erase(it);
    return true;
}

std::string Arguments::TakeVerb(const std::string &usage)
{
    if (args_.empty())
        throw CommandError("usage: " + usage);
    std::string verb = args_.front();
    args_.erase(args_.begin());
    return verb;
}

std::vector<std::string> Arguments::Positional(size_t count, const std::string &usage)
{
    for (const std::string &a : args_)
        if (a.size() > 2 && a.rfind("--", 0) == 0)
            throw CommandError("unknown option " + a + "\nusage: " + usage);
    if (args_.size() != count)
        throw CommandError("usage: " + usage);
    return args_;
}

std::vector<std::string> Arguments::AllPositional(const std::string &usage)
{
    return Positional(std::max<size_t>(args_.size(), 1), usage);
}

std::unique_ptr<KeywordStore> OpenStoreFor(Arguments &args)
{
    const std::optional<std::string> db = args.TakeOption("--db");
    try {
        std::unique_ptr<KeywordStore> store = OpenKeywordStore(db ? *db : ":memory:");
        if (store->ReadOnly())
            std::cerr << "qasp: 关键字库 " << *db << " 不能写入（" << store->ReadOnlyReason()
                      << "），已按只读方式打开：对关键字库的修改不会保存\n";
        return store;
    } catch (const DamagedStore &e) {
        // Words read from a damaged file could be wrong: the built-in
        // vocabulary stands in.
        std::cerr << "qasp: 关键字库 " << *db << " 已损坏（" << e.what() << "），改用内置关键字\n";
        return OpenKeywordStore(":memory:");
    } catch (const std::exception &e) {
        throw CommandError("cannot open keyword store " + (db ? *db : std::string(":memory:")) + ": "
                           + e.what());
    }
}

std::string ReadProblem(const FileRead &read, const std::string &path, std::uintmax_t limit)
{
    if (read.outcome == FileRead::Outcome::CannotOpen)
        return path + ": " + std::strerror(read.error);
    if (read.outcome == FileRead::Outcome::NotAFile && read.error == EISDIR)
        return path + ": is a directory";
    return FileReadProblem(read, path, limit);
}

std::string ReadFileBytes(const std::string &path, std::uintmax_t limit)
{
    FileRead read = ReadFileWithin(path, limit);
    if (!read.Ok())
        throw CommandError(ReadProblem(read, path, limit));
    return std::move(read.bytes);
}

}  // namespace qasp::cli
