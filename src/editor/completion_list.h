// The completion list HList as the editor's handlers use it: items with a
// caption (the store's spelling), a hint and an icon (the key type), one of
// them highlighted.
#pragma once

#include <string>

namespace qasp {

class CompletionList {
public:
    virtual ~CompletionList() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string &caption, const std::string &hint, int icon) = 0;
    virtual int Count() const = 0;
    virtual int Highlighted() const = 0;
    // Highlights the item and scrolls it to the top of the list.
    virtual void Highlight(int index) = 0;
    virtual std::string Caption(int index) const = 0;
    virtual std::string Hint(int index) const = 0;
    virtual int Icon(int index) const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    // Puts the list's top left corner under the caret.
    virtual void PlaceAtCaret() = 0;
};

}  // namespace qasp
