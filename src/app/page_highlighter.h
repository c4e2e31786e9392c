// Colours the editor's lines as they change: each block is coloured by the
// page colouring from the state the block before it ended in, and the
// blocks after it only while their start state changes. The colours come
// from the light or dark scheme, after the editor's background, with the
// overrides of the settings (~/.config/quillmere-asp/quillmere-asp.conf,
// group "colours": a key per category name, or "scheme" to force one of
// classic, light, dark).
#pragma once

#include "editor/colour_scheme.h"
#include "editor/page_colouring.h"
#include "editor/page_state.h"
#include "text/text_encoding.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QPlainTextEdit;
class QTextBlock;

namespace qasp {
class KeywordStore;
}

namespace qasp::app {

class PageHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // `store` gives the keyword store in use, or null while there is none.
    PageHighlighter(QPlainTextEdit *edit, std::function<const KeywordStore *()> store);

    // For the next text the editor takes: its encoding and whether it
    // starts in server code (a procedure's text).
    void SetEncoding(TextEncoding encoding);
    void SetStartsInCode(bool code);
    // Re-colours the whole text.
    void SetScheme(const ColourScheme &scheme);
    // The scheme for the editor's background with the settings' overrides.
    void FollowPalette();

    const ColourScheme &Scheme() const { return scheme_; }
    // Where `block` starts: the state the block before it ended in; nullopt
    // for a block that is no line or follows one not yet coloured.
    std::optional<PageState> StartStateOf(const QTextBlock &block) const;

signals:
    void schemeChanged();

protected:
    void highlightBlock(const QString &text) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *edit_;
    std::function<const KeywordStore *()> store_;
    TextEncoding encoding_ = TextEncoding::Gbk;
    bool startsInCode_ = false;
    ColourScheme scheme_;
    std::array<QTextCharFormat, kColourCategoryCount> formats_;
    std::vector<ColourSpan> spans_;
    std::vector<int> unitOfByte_;
};

// The settings' scheme on `base`, the editor's background colour.
ColourScheme SchemeForBackground(const QColor &base);
// The key of a category's colour in the settings' group "colours".
QString ColourSettingKey(ColourCategory category);

}  // namespace qasp::app
