// The options of 选项 kept in the settings file, with their defaults: the
// editor's font, its tab width, the encoding of new pages and what 保存
// writes. The colours of the categories are kept beside them, in the group
// the highlighter reads ("colours").
#pragma once

#include "text/text_encoding.h"

#include <QFont>

namespace qasp::app {

// The editor's font sizes, in pixels, that options and zoom allow.
constexpr int kSmallestFontSize = 6;
constexpr int kLargestFontSize = 96;

struct EditorOptions {
    QFont font;             // the interface font by default
    int tabCharacters = 2;  // tab stops every this many average characters
    TextEncoding newPageEncoding = TextEncoding::Gbk;
    bool saveWritesLayout = false;  // 保存 writes the project layout, not the files as read
    // A space or punctuation takes the highlighted completion too, not
    // only Tab, Enter or a click.
    bool completeOnWordEnd = false;
};

EditorOptions LoadEditorOptions();
void SaveEditorOptions(const EditorOptions &options);

}  // namespace qasp::app
