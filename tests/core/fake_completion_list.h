#pragma once

#include "editor/completion_list.h"

#include <vector>

namespace qasp::testing {

class FakeCompletionList : public CompletionList {
public:
    struct Item {
        std::string caption, hint;
        int icon;
    };
    std::vector<Item> items;
    int highlighted = -1;
    bool visible = false;
    int placed = 0;

    void Clear() override { items.clear(), highlighted = -1; }
    void AddItem(const std::string &c, const std::string &h, int i) override { items.push_back({c, h, i}); }
    int Count() const override { return static_cast<int>(items.size()); }
    int Highlighted() const override { return highlighted; }
    void Highlight(int index) override { highlighted = index; }
    std::string Caption(int index) const override { return items.at(index).caption; }
    std::string Hint(int index) const override { return items.at(index).hint; }
    int Icon(int index) const override { return items.at(index).icon; }
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    bool IsVisible() const override { return visible; }
    void PlaceAtCaret() override { ++placed; }
};

}  // namespace qasp::testing
