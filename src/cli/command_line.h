// The small shared part of qasp's subcommands: arguments, the store they
// use, file reading, and errors that end the command with a message.
#pragma once

#include "text/file_read.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qasp {

class KeywordStore;

namespace cli {

// Thrown for bad use or unreadable input; main prints it and exits non-zero.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Arguments {
public:
    explicit Arguments(std::vector<std::string> args) : args_(std::move(args)) {}

    // Removes "--name VALUE" and returns VALUE; throws when VALUE is missing.
    std::optional<std::string> TakeOption(const std::string &name);
    // Removes "--name" and says whether it was there.
    bool TakeFlag(const std::string &name);
    // Removes and returns the first argument (a sub-command's verb).
    std::string TakeVerb(const std::string &usage);
    // The remaining arguments, which must be exactly `count` and no options.
    std::vector<std::string> Positional(size_t count, const std::string &usage);
    // The remaining arguments, at least one and no options.
    std::vector<std::string> AllPositional(const std::string &usage);

private:
    std::vector<std::string> args_;
};

// A store file named with --db, or a fresh in-memory store with the built-in
// vocabulary.
std::unique_ptr<KeywordStore> OpenStoreFor(Arguments &args);

// Why a file could not be read, for a CommandError.
std::string ReadProblem(const FileRead &read, const std::string &path, std::uintmax_t limit);

// The whole file as bytes: a regular file of at most `limit` bytes, else
// CommandError naming the file and the reason.
std::string ReadFileBytes(const std::string &path, std::uintmax_t limit);

}  // namespace cli
}  // namespace qasp
