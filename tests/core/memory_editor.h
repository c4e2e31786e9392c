// An editor held in memory: the text as node bytes with a colour per byte,
// a selection (an empty one is the caret) and the live flag, for driving
// the editor algorithms without a widget; its writes can be made to fail.
#pragma once

#include "editor/editor_surface.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace qasp::testing {

class MemoryEditor : public EditorSurface {
public:
    void Clear() override
    {
        text_.clear();
        colours_.clear();
        start_ = length_ = 0;
    }
    bool IsEmpty() const override { return text_.empty(); }
    bool HasLine(int index) const override { return index >= 0 && index < LineCount(); }
    void EmptyLine(int index) override
    {
        const size_t from = LineIndex(index);
        Erase(from, LineText(index).size());
        start_ = from;
        length_ = 0;
    }
    void MoveCaretToEnd() override
    {
        start_ = text_.size();
        length_ = 0;
    }
    void Write(std::string_view piece, ColourValue colour) override
    {
        if (failWrites)
            throw std::runtime_error("the editor refused a write");
        Erase(start_, length_);
        text_.insert(start_, piece);
        colours_.insert(colours_.begin() + static_cast<long>(start_), piece.size(), colour);
        start_ += piece.size();
        length_ = 0;
        ++writes;
    }

    std::string Text() const override { return text_; }
    std::string LineText(int row) const override
    {
        if (row < 0 || row >= LineCount())
            return {};
        const size_t from = LineIndex(row);
        const size_t br = text_.find("\r\n", from);
        return text_.substr(from, (br == std::string::npos ? text_.size() : br) - from);
    }
    bool IsLive() const override { return live_; }
    void SetLive(bool live) override { live_ = live; }
    void SetReadOnly(bool on) override { readOnly = on; }

    size_t SelectionStart() const override { return start_; }
    size_t SelectionLength() const override { return length_; }
    std::string SelectedText() const override { return text_.substr(start_, length_); }
    void SetSelection(size_t start, size_t length) override
    {
        start_ = std::min(start, text_.size());
        length_ = std::min(length, text_.size() - start_);
    }
    void ReplaceSelection(std::string_view text) override { Write(text, insertion_); }
    int LineFromChar(size_t offset) const override
    {
        int row = 0;
        for (size_t br = text_.find("\r\n"); br != std::string::npos && br + 2 <= offset;
             br = text_.find("\r\n", br + 2))
            ++row;
        return row;
    }
    size_t LineIndex(int row) const override
    {
        size_t at = 0;
        for (int r = 0; r < row; ++r) {
            const size_t br = text_.find("\r\n", at);
            if (br == std::string::npos)
                return text_.size();
            at = br + 2;
        }
        return at;
    }
    void SetInsertionColour(ColourValue colour) override { insertion_ = colour; }
    void SetEncoding(TextEncoding encoding) override { encoding_ = encoding; }
    TextEncoding Encoding() const { return encoding_; }

    // What typing a character does after the handlers let it through.
    void Type(std::string_view text) { ReplaceSelection(text); }

    int LineCount() const
    {
        int n = 1;
        for (size_t br = text_.find("\r\n"); br != std::string::npos; br = text_.find("\r\n", br + 2))
            ++n;
        return n;
    }
    // The colour of the first byte of `needle` on line `row`.
    ColourValue ColourAt(int row, std::string_view needle) const
    {
        return colours_.at(LineIndex(row) + LineText(row).find(needle));
    }
    ColourValue InsertionColour() const { return insertion_; }

    int writes = 0;
    bool failWrites = false;  // every write throws, as a failing widget would
    bool readOnly = true;     // as the editor starts: no node shown

private:
    void Erase(size_t from, size_t count)
    {
        text_.erase(from, count);
        colours_.erase(colours_.begin() + static_cast<long>(from),
                       colours_.begin() + static_cast<long>(from + count));
    }

    std::string text_;
    std::vector<ColourValue> colours_;
    size_t start_ = 0, length_ = 0;
    bool live_ = false;
    TextEncoding encoding_ = TextEncoding::Gbk;
    ColourValue insertion_ = 0;
};

}  // namespace qasp::testing
