// An editor held in memory: lines of bytes with a colour per byte and a
// caret, for driving the editor algorithms without a widget.
#pragma once

#include "editor/editor_surface.h"

#include <string>
#include <vector>

namespace qasp::testing {

class MemoryEditor : public EditorSurface {
public:
    struct Line {
        std::string text;
        std::vector<ColourValue> colours;
    };

    void Clear() override
    {
        lines_.clear();
        caretLine_ = caretColumn_ = 0;
    }
    bool IsEmpty() const override
    {
        return lines_.empty() || (lines_.size() == 1 && lines_[0].text.empty());
    }
    bool HasLine(int index) const override
    {
        return index >= 0 && static_cast<size_t>(index) < std::max<size_t>(lines_.size(), 1);
    }
    void EmptyLine(int index) override
    {
        if (lines_.empty())
            lines_.emplace_back();
        lines_[index] = {};
        caretLine_ = index;
        caretColumn_ = 0;
    }
    void MoveCaretToEnd() override
    {
        if (lines_.empty())
            lines_.emplace_back();
        caretLine_ = lines_.size() - 1;
        caretColumn_ = lines_.back().text.size();
    }
    void Write(std::string_view piece, ColourValue colour) override
    {
        if (lines_.empty())
            lines_.emplace_back();
        ++writes;
        if (piece == "\r\n") {
            Line &cur = lines_[caretLine_];
            Line tail{cur.text.substr(caretColumn_),
                      std::vector<ColourValue>(cur.colours.begin() + caretColumn_, cur.colours.end())};
            cur.text.resize(caretColumn_);
            cur.colours.resize(caretColumn_);
            lines_.insert(lines_.begin() + caretLine_ + 1, std::move(tail));
            ++caretLine_;
            caretColumn_ = 0;
            return;
        }
        Line &cur = lines_[caretLine_];
        cur.text.insert(caretColumn_, piece);
        cur.colours.insert(cur.colours.begin() + caretColumn_, piece.size(), colour);
        caretColumn_ += piece.size();
    }

    const std::vector<Line> &Lines() const { return lines_; }
    std::string Text() const override
    {
        std::string out;
        for (size_t i = 0; i < lines_.size(); ++i)
            out += (i ? "\r\n" : "") + lines_[i].text;
        return out;
    }
    std::string LineText(int row) const override
    {
        return row >= 0 && static_cast<size_t>(row) < lines_.size() ? lines_[row].text : "";
    }
    int Tag() const override { return tag_; }
    void SetTag(int tag) override { tag_ = tag; }

    size_t SelectionStart() const override { return selStart_; }
    size_t SelectionLength() const override { return selLength_; }
    std::string SelectedText() const override { return Text().substr(selStart_, selLength_); }
    void SetSelection(size_t start, size_t length) override
    {
        selStart_ = start;
        selLength_ = length;
    }
    // Edits the whole text; new characters take the default colour.
    void ReplaceSelection(std::string_view text) override
    {
        std::string all = Text();
        all.replace(selStart_, selLength_, text);
        std::vector<Line> lines;
        size_t from = 0;
        for (size_t br; (br = all.find("\r\n", from)) != std::string::npos; from = br + 2)
            lines.push_back({all.substr(from, br - from), std::vector<ColourValue>(br - from, 0)});
        lines.push_back({all.substr(from), std::vector<ColourValue>(all.size() - from, 0)});
        lines_ = std::move(lines);
        selStart_ += text.size();
        selLength_ = 0;
    }
    // The colour of the first byte of `needle` on line `index`.
    ColourValue ColourAt(size_t index, std::string_view needle) const
    {
        const Line &l = lines_.at(index);
        return l.colours.at(l.text.find(needle));
    }

    int writes = 0;

private:
    std::vector<Line> lines_;
    size_t caretLine_ = 0;
    size_t caretColumn_ = 0;
    int tag_ = 0;
    size_t selStart_ = 0;
    size_t selLength_ = 0;
};

}  // namespace qasp::testing
