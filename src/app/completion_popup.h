// The main window's completion list as the core's CompletionList: a list
// view of captions with their key type's icon, the hint kept beside each
// item, shown under the caret.
#pragma once

#include "editor/completion_list.h"

class QListWidget;
class QPlainTextEdit;

namespace qasp::app {

class CompletionPopup : public CompletionList {
public:
    CompletionPopup(QListWidget *list, QPlainTextEdit *editor);

    void Clear() override;
    void AddItem(const std::string &caption, const std::string &hint, int icon) override;
    int Count() const override;
    int Highlighted() const override;
    void Highlight(int index) override;
    std::string Caption(int index) const override;
    std::string Hint(int index) const override;
    int Icon(int index) const override;
    void Show() override;
    void Hide() override;
    bool IsVisible() const override;
    void PlaceAtCaret() override;

private:
    QListWidget *list_;
    QPlainTextEdit *editor_;
};

}  // namespace qasp::app
