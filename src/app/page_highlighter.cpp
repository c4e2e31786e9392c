#include "app/page_highlighter.h"

#include "app/encoded_qstring.h"
#include "editor/page_colouring.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include "app/app_settings.h"

namespace qasp::app {

ColourScheme SchemeForBackground(const QColor &base)
{
    AppSettings settings;
    settings.beginGroup("colours");
    const ColourValue background = base.red() | base.green() << 8 | base.blue() << 16;
    const ColourScheme *named = SchemeNamed(settings.value("scheme").toString().toStdString());
    ColourScheme scheme = named ? *named : IsDarkBackground(background) ? DarkScheme() : LightScheme();
    for (size_t i = 0; i < kColourCategoryCount; ++i) {
        const auto category = static_cast<ColourCategory>(i);
        if (const auto c =
                ParseHtmlColour(settings.value(ColourSettingKey(category)).toString().toStdString()))
            scheme.Set(category, *c);
    }
    return scheme;
}

QString ColourSettingKey(ColourCategory category)
{
    const std::string_view name = CategoryName(category);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

PageHighlighter::PageHighlighter(QPlainTextEdit *edit, std::function<const KeywordStore *()> store)
    : QSyntaxHighlighter(edit->document()),
      edit_(edit),
      store_(std::move(store)),
      scheme_(LightScheme())
{
    edit->installEventFilter(this);
    SetScheme(SchemeForBackground(edit->palette().color(QPalette::Base)));
}

void PageHighlighter::SetEncoding(TextEncoding encoding)
{
    if (encoding == encoding_)
        return;
    encoding_ = encoding;  // a text in the new encoding follows
}

void PageHighlighter::SetStartsInCode(bool code)
{
    if (code == startsInCode_)
        return;
    startsInCode_ = code;  // the node's text follows
}

void PageHighlighter::SetScheme(const ColourScheme &scheme)
{
    scheme_ = scheme;
    for (size_t i = 0; i < kColourCategoryCount; ++i) {
        const ColourValue c = scheme.colours[i];
        formats_[i].setForeground(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    }
    rehighlight();
    emit schemeChanged();
}

void PageHighlighter::FollowPalette()
{
    // A skin sets palettes more than once as it changes; an unchanged
    // scheme leaves the page's colours as they are.
    ColourScheme scheme = SchemeForBackground(edit_->palette().color(QPalette::Base));
    if (scheme.colours != scheme_.colours)
        SetScheme(scheme);
}

bool PageHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edit_ && event->type() == QEvent::PaletteChange)
        FollowPalette();
    return QSyntaxHighlighter::eventFilter(watched, event);
}

std::optional<PageState> PageHighlighter::StartStateOf(const QTextBlock &block) const
{
    if (!block.isValid())
        return std::nullopt;
    const QTextBlock before = block.previous();
    if (!before.isValid())
        return startsInCode_ ? ServerCodeStart() : PageState{};
    if (before.userState() < 0)
        return std::nullopt;
    return PageState::Unpack(before.userState());
}

void PageHighlighter::highlightBlock(const QString &text)
{
    const int previous = previousBlockState();
    const PageState start = previous >= 0   ? PageState::Unpack(previous)
                            : startsInCode_ ? ServerCodeStart()
                                            : PageState{};
    const KeywordStore *store = store_();
    if (!store) {
        setCurrentBlockState(start.Pack());
        return;
    }
    const std::string bytes = ToBytes(text, encoding_);
    spans_.clear();
    const PageState end = ColourPageLine(bytes, start, *store, encoding_, spans_);
    setCurrentBlockState(end.Pack());

    // Spans are in bytes; the block counts UTF-16 units.
    const bool sameLength = bytes.size() == static_cast<size_t>(text.size());
    if (!sameLength) {
        unitOfByte_.assign(bytes.size() + 1, 0);
        size_t at = 0;
        for (int i = 0; i < text.size(); ++i) {
            const size_t n = EncodedLength(encoding_, text.at(i).unicode());
            for (size_t k = 0; k < n && at + k < bytes.size(); ++k)
                unitOfByte_[at + k] = i;
            at += n;
        }
        for (size_t k = std::min(at, bytes.size()); k <= bytes.size(); ++k)
            unitOfByte_[k] = static_cast<int>(text.size());
    }
    const auto unit = [&](size_t byte) {
        return sameLength ? static_cast<int>(byte) : unitOfByte_[std::min(byte, bytes.size())];
    };
    for (const ColourSpan &s : spans_) {
        const int from = unit(s.start);
        const int to = unit(s.start + s.length);
        if (to > from)
            setFormat(from, to - from, formats_[static_cast<size_t>(s.category)]);
    }
}

}  // namespace qasp::app
