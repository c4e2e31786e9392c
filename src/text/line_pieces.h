// A stream read a block at a time and handed out in pieces that end after a
// line break (or at the stream's end): no line is cut between two pieces, so
// a long file can be worked through line by line in memory bounded by the
// block and its longest line.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <limits>
#include <string_view>

namespace qasp {

enum class LinePieces { Done, ReadFailed, LineTooLong };

// Calls `each` with the pieces of `in` in order; together they are every
// byte of the stream. A CR ending a block waits for the next one, which may
// begin with the LF of a CR LF. A line longer than `maxLine` bytes stops
// the reading (LineTooLong) before it is handed out: memory stays within
// `maxLine` and a block even on a stream without line breaks.
LinePieces ForEachLinePiece(std::istream &in, std::size_t block,
                            const std::function<void(std::string_view)> &each,
                            std::size_t maxLine = std::numeric_limits<std::size_t>::max());

}  // namespace qasp
