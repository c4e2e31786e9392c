#include "editor/colouring.h"

#include "editor/char_classes.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "text/byte_string.h"
#include "text/gbk.h"
#include "text/line_split.h"

namespace qasp {

std::string FirstToken(std::string_view line)
{
    const std::string s = Trim(line);
    if (!s.empty() && s[0] == '\'')
        return "'";
    size_t n = 0;
    while (n < s.size() && IsWordChar(static_cast<unsigned char>(s[n])))
        ++n;
    return s.substr(0, n);
}

bool IsDeclarationLine(std::string_view line)
{
    // "<% Dim x" opens a server block and declares in the same line.
    std::string s = Trim(line);
    if (s.starts_with("<%") && !s.starts_with("<%=") && !s.starts_with("<%@"))
        s.erase(0, 2);
    const std::string token = LowerAscii(FirstToken(s));
    return token == "dim" || token == "const";
}

std::vector<ColourRun> ColourLineRuns(std::string_view rawLine, const KeywordStore &store)
{
    const std::string line = TrimRight(rawLine);
    std::vector<ColourRun> runs;
    if (line.empty())
        return runs;
    if (FirstToken(line) == "'") {
        runs.push_back({ColourOfKeyType(kComment), line});
        return runs;
    }
    const ColourValue plain = ColourOfKeyType(kNoEntry);
    const auto emit = [&runs](ColourValue c, std::string text) {
        if (!text.empty())
            runs.push_back({c, std::move(text)});
    };
    const auto isWordAt = [&line](size_t i) { return IsWordChar(static_cast<unsigned char>(line[i])); };

    size_t pos = 0;
    while (pos < line.size()) {
        size_t end = pos;
        while (end < line.size() && isWordAt(end))
            ++end;
        if (end > pos) {
            std::string word = line.substr(pos, end - pos);
            const ColourValue c = IsDigitChar(static_cast<unsigned char>(word[0]))
                                      ? plain
                                      : ColourOfKeyType(store.LookupKeyword(word));
            emit(c, std::move(word));
            pos = end;
            continue;
        }
        // A plain run up to the next word character, strings cut out of it.
        // Every character is tested, the one after a closing quote too, so a
        // doubled quote inside a literal simply starts the next literal.
        std::string pending;
        while (pos < line.size()) {
            const size_t len = GbkCharLength(line, pos);
            if (len == 1 && isWordAt(pos))
                break;
            if (len == 1 && line[pos] == '"') {
                emit(plain, std::move(pending));
                pending.clear();
                const size_t close = line.find('"', pos + 1);
                const size_t stop = close == std::string::npos ? line.size() : close + 1;
                emit(ColourOfKeyType(kString), line.substr(pos, stop - pos));
                pos = stop;
                continue;
            }
            pending.append(line, pos, len);
            pos += len;
        }
        emit(plain, std::move(pending));
    }
    return runs;
}

std::vector<ColourRun> ExactLineRuns(std::string_view line, const KeywordStore &store)
{
    std::vector<ColourRun> runs = ColourLineRuns(line, store);
    const std::string_view blanks = line.substr(TrimRight(line).size());
    if (!blanks.empty())
        runs.push_back({ColourOfKeyType(kNoEntry), std::string(blanks)});
    return runs;
}

std::vector<ColourRun> LineRunsAsWritten(std::string_view line, const KeywordStore &store)
{
    std::vector<ColourRun> runs = ExactLineRuns(line, store);
    // A stored spelling differs from the written word in letter case only.
    size_t at = 0;
    for (ColourRun &run : runs) {
        run.text.assign(line.substr(at, run.text.size()));
        at += run.text.size();
    }
    return runs;
}

void RecolourLine(ColourEditor &editor, int index, std::string_view line, const KeywordStore &store)
{
    editor.EmptyLine(index);
    for (const ColourRun &run : LineRunsAsWritten(line, store))
        editor.Write(run.text, run.colour);
}

void ColourLine(ColourEditor &editor, int index, std::string_view line, const KeywordStore &store)
{
    if (editor.ColoursItself() && editor.HasLine(index)) {
        // The colours are the editor's own: only words put into their
        // stored spelling change the line, in one piece, and a line already
        // spelled so is not written at all (each write is an edit of the
        // node, and of a long one a costly edit).
        std::string spelled;
        for (const ColourRun &run : ExactLineRuns(line, store))
            spelled += run.text;
        if (spelled == line)
            return;
        editor.EmptyLine(index);
        editor.Write(spelled, ColourOfKeyType(kNoEntry));
        return;
    }
    if (editor.HasLine(index)) {
        editor.EmptyLine(index);
    } else if (!editor.IsEmpty()) {
        editor.MoveCaretToEnd();
        editor.Write("\r\n", ColourOfKeyType(kNoEntry));
    }
    for (const ColourRun &run : ExactLineRuns(line, store))
        editor.Write(run.text, run.colour);
}

void ColourText(ColourEditor &editor, std::string_view text, const KeywordStore &store,
                std::string_view script)
{
    editor.Clear();
    if (editor.ColoursItself()) {
        editor.WriteRuns({{ColourOfKeyType(kNoEntry), std::string(text)}});
        return;
    }
    editor.WriteRuns(ColourTextRuns(text, store, script));
}

void ColourEditor::WriteRuns(const std::vector<ColourRun> &runs)
{
    for (const ColourRun &run : runs) {
        std::string_view rest = run.text;
        for (size_t br; (br = rest.find("\r\n")) != std::string_view::npos;) {
            if (br)
                Write(rest.substr(0, br), run.colour);
            Write("\r\n", run.colour);
            rest.remove_prefix(br + 2);
        }
        if (!rest.empty())
            Write(rest, run.colour);
    }
}

}  // namespace qasp

namespace qasp {

std::vector<ColourRun> ColourTextRuns(std::string_view text, const KeywordStore &store)
{
    std::vector<ColourRun> merged;
    const auto add = [&merged](ColourRun run) {
        if (!merged.empty() && merged.back().colour == run.colour)
            merged.back().text += run.text;
        else
            merged.push_back(std::move(run));
    };
    // Every line as it stands, its words as written and an empty last line
    // too: the editor must hold the node's bytes exactly, or the first
    // keystroke would write back a text the user did not write.
    // A lone CR or LF breaks the line as the editor would.
    size_t start = 0;
    for (;;) {
        const size_t br = text.find_first_of("\r\n", start);
        const std::string_view line = text.substr(start, br == std::string_view::npos ? br : br - start);
        for (ColourRun &run : LineRunsAsWritten(line, store))
            add(std::move(run));
        if (br == std::string_view::npos)
            break;
        add({ColourOfKeyType(kNoEntry), "\r\n"});
        start = br + (text.compare(br, 2, "\r\n") == 0 ? 2 : 1);
    }
    return merged;
}

std::vector<ColourRun> ColourTextRuns(std::string_view text, const KeywordStore &store,
                                      std::string_view script)
{
    if (script.size() != text.size())
        return ColourTextRuns(text, store);
    // The script has the text's length with everything but server code
    // blanked: its colours, laid over the text's own bytes, leave HTML plain.
    std::vector<ColourRun> runs = ColourTextRuns(script, store);
    size_t at = 0;
    for (ColourRun &run : runs) {
        const size_t length = run.text.size();
        run.text.assign(text.substr(at, length));
        at += length;
    }
    return runs;
}

void FollowKeywordChanges(ColourEditor &editor, const KeywordStore &store)
{
    const KeywordStore::Changes &changes = store.LastChanges();
    if (changes.all)
        editor.KeywordsChanged();
    else if (!changes.names.empty())
        editor.NamesChanged(changes.names);
}

}  // namespace qasp
