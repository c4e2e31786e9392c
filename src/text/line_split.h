// The two line rules of the program. Files are read with the rule of the
// old text-file reader: LF or CR LF end a line, a CR that is not followed by
// LF is dropped, and Ctrl-Z (26) ends the file. Texts handed to the editor
// break at CR LF, at a lone CR and at a lone LF. In both, a line break at the
// very end does not start a further line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// The file rule one line at a time, for readers that stop early or keep many
// files open at once: no vector of all the lines is built.
class FileLineReader {
public:
    explicit FileLineReader(std::string_view bytes) : bytes_(bytes) {}
    // The next line into `line`; false when there is none.
    bool Next(std::string &line);

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};
std::vector<std::string_view> SplitTextLines(std::string_view text);

// The lines joined by CR LF, without a break after the last one.
std::string JoinCrLf(const std::vector<std::string> &lines);

}  // namespace qasp
