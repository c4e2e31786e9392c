// The script engine's compile-error catalogue: each number with the text the
// engine prints in English and in Simplified Chinese. The HRESULT the server
// shows is 0x800A0000 plus the number (1002 -> 800A03EA).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qasp::vbs {

enum class CompileError : uint16_t {
    OutOfMemory = 1001,
    SyntaxError = 1002,
    ExpectedLeftParen = 1005,
    ExpectedRightParen = 1006,
    ExpectedIdentifier = 1010,
    ExpectedEquals = 1011,
    ExpectedIf = 1012,
    ExpectedTo = 1013,
    ExpectedEnd = 1014,
    ExpectedFunction = 1015,
    ExpectedSub = 1016,
    ExpectedThen = 1017,
    ExpectedWend = 1018,
    ExpectedLoop = 1019,
    ExpectedNext = 1020,
    ExpectedCase = 1021,
    ExpectedSelect = 1022,
    ExpectedExpression = 1023,
    ExpectedStatement = 1024,
    ExpectedEndOfStatement = 1025,
    ExpectedIntegerConstant = 1026,
    ExpectedWhileOrUntil = 1027,
    ExpectedWhileUntilOrEnd = 1028,
    ExpectedWith = 1029,
    IdentifierTooLong = 1030,
    InvalidNumber = 1031,
    InvalidCharacter = 1032,
    UnterminatedString = 1033,
    UnterminatedComment = 1034,
    InvalidUseOfMe = 1037,
    LoopWithoutDo = 1038,
    InvalidExit = 1039,
    InvalidForVariable = 1040,
    NameRedefined = 1041,
    MustBeFirstOnLine = 1042,
    AssignToNonByValArgument = 1043,
    ParenthesesCallingSub = 1044,
    ExpectedLiteralConstant = 1045,
    ExpectedIn = 1046,
    ExpectedClass = 1047,
    MustBeInsideClass = 1048,
    ExpectedLetSetGet = 1049,
    ExpectedProperty = 1050,
    InconsistentPropertyArguments = 1051,
    MultipleDefaults = 1052,
    InitializeTerminateArguments = 1053,
    LetSetNeedsArgument = 1054,
    UnexpectedNext = 1055,
    DefaultOnlyOnProcedures = 1056,
    DefaultNeedsPublic = 1057,
    DefaultOnlyOnPropertyGet = 1058,
};

enum class MessageLanguage { English, SimplifiedChinese };

struct CompileErrorEntry {
    int number;
    const char *english;
    const char *chinese;  // UTF-8
};

// Every entry, by number.
std::span<const CompileErrorEntry> CompileErrorCatalogue();

// The engine's text for `number`; nullptr for a number not in the catalogue.
const char *CompileErrorText(int number, MessageLanguage language);

constexpr uint32_t CompileErrorHresult(int number)
{
    return 0x800A0000u + static_cast<uint32_t>(number);
}

// "vbscript.1002": the key a diagnostic carries for a compile error.
std::string CompileErrorMessageKey(int number);

// The text of a diagnostic's or related place's message key: a compile
// error's, or "vbscript.declared-here"; nullptr for a key not known here.
const char *MessageText(std::string_view key, MessageLanguage language);

}  // namespace qasp::vbs
