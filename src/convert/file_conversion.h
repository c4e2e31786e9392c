// One file's text moved from one encoding to the other: every character
// written again in the target encoding, the line ends and the rest of each
// line as they were, and each encoding declaration rewritten to say what
// the bytes now are. What cannot move faithfully is refused with its line,
// never written as '?': a character the target cannot hold, bytes not valid
// in the source, and text that would not convert back to the same bytes.
#pragma once

#include "site/encoding_declarations.h"
#include "text/text_encoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace qasp::convert {

struct DeclarationChange {
    DeclarationKind kind;
    int line = 1;               // in the converted file
    std::string before, after;  // the value; `before` empty when the declaration was added
};

struct FileProblem {
    int line = 1;         // 0: the file as a whole
    std::string message;  // UTF-8
};

enum class FileKind { Page, ScriptFile, StyleSheet };

struct FileConversionRequest {
    std::string_view bytes;
    TextEncoding from = TextEncoding::Gbk;
    TextEncoding to = TextEncoding::Utf8;
    FileKind kind = FileKind::Page;
    // A page the server runs on its own and reads by its directive: one
    // without a CodePage gets one, as the server's default code page reads
    // the target encoding wrongly.
    bool needsDirective = false;
};

struct FileConversion {
    std::string bytes;  // valid only without refusals
    std::vector<DeclarationChange> changes;
    std::vector<FileProblem> refusals;
    std::vector<FileProblem> notes;  // declarations left alone, a byte-order mark dropped
};

FileConversion ConvertFileText(const FileConversionRequest &request);

}  // namespace qasp::convert
