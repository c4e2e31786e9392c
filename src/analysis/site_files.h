// The files of a check run, each read, decoded and split once however many
// pages include it: its bytes, encoding, pieces and include directives. A
// file's id is its index here; the pieces and the trees parsed from them
// point into the bytes kept here, which stay put for the whole run.
#pragma once

#include "analysis/server_objects.h"
#include "site/page_structure.h"
#include "text/text_encoding.h"
#include "vbscript/source_pieces.h"
#include "vbscript/token.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace qasp::analysis {

// No file of a page is read past this: the editor's own limit for a page.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{2} * 1024 * 1024;

struct SiteFile {
    std::filesystem::path path;  // as looked up
    std::string key;             // its real path: one entry however it is spelled
    std::string bytes;
    TextEncoding encoding = TextEncoding::Gbk;
    std::vector<vbs::SourcePiece> pieces;  // in file order
    // In file order. A server <script src="..."> element is one too: the
    // server reads the file named as the element's code.
    std::vector<IncludeDirective> includes;
    // The begin offsets of the includes that are the src of a script in
    // another language (JScript): its functions count, its text is no
    // VBScript.
    std::vector<size_t> otherLanguageSources;
    // Functions of its server JScript blocks, lower-cased: VBScript on the
    // same page calls them as its own.
    std::vector<std::string> scriptFunctions;
    // A <!-- METADATA TYPE="typelib" --> directive: the library's constants
    // are globals no file declares.
    bool importsTypeLibrary = false;
    // <object runat="server" id="..."> tags: each a variable of the script.
    std::vector<ServerObject> serverObjects;
    // Its <%@ LANGUAGE=... %> names VBScript or nothing: as the page, its
    // <% %> blocks and its includes' are VBScript. Otherwise only server
    // <script language="VBScript"> elements are.
    bool blocksAreVBScript = true;
    // For each piece, whether it is the code of a server <script> element.
    std::vector<bool> inScriptElement;
    // Each piece's tokens, lexed the first time a page needs them.
    std::vector<std::vector<vbs::Token>> tokens;
};

// Why a file could not be read, UTF-8.
struct SiteFileError {
    std::string message;
};

class SiteFiles {
public:
    // `encoding`: every file read so; none: each file's own, as detected.
    explicit SiteFiles(std::optional<TextEncoding> encoding = std::nullopt) : encoding_(encoding) {}

    // The file whose real path is `key` holds `bytes` in `encoding`, not what
    // is on disk: an editor's unsaved text. Only before the file is opened.
    void UseText(const std::string &key, std::string bytes, TextEncoding encoding);

    // The id of `path`'s file, read the first time it is asked for; the
    // error when it cannot be read (asked again, the same error).
    std::optional<uint32_t> Open(const std::filesystem::path &path, const std::string &key,
                                 SiteFileError *error);

    const SiteFile &operator[](uint32_t id) const { return files_[id]; }
    // The tokens of piece `piece` of file `id`, lexed once per run.
    std::span<const vbs::Token> PieceTokens(uint32_t id, uint32_t piece);
    // Frees the tokens of file `id` (lexed again if asked for).
    void ForgetTokens(uint32_t id);
    size_t Count() const { return files_.size(); }

private:
    std::optional<TextEncoding> encoding_;
    std::deque<SiteFile> files_;
    std::unordered_map<std::string, uint32_t> ids_;
    std::unordered_map<std::string, std::string> failures_;
    struct GivenText {
        std::string bytes;
        TextEncoding encoding;
    };
    std::unordered_map<std::string, GivenText> givenTexts_;  // by key
};

// The real path of `path` (symbolic links resolved), or its absolute
// lexical form when it cannot be resolved.
std::string RealPathKey(const std::filesystem::path &path);

}  // namespace qasp::analysis
