#include "app/editor_zoom.h"

#include "app/editor_options.h"
#include "app/qt_editor_surface.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include <algorithm>

namespace qasp::app {
namespace {

constexpr int kSmallest = kSmallestFontSize;
constexpr int kLargest = kLargestFontSize;

// The editor's font is set in pixels (as the interface font is) or points.
int SizeOf(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF());
}

}  // namespace

EditorZoom::EditorZoom(QPlainTextEdit *editor)
    : QObject(editor),
      editor_(editor),
      zoomIn_(new QAction(QStringLiteral("放大(&I)"), editor)),
      zoomOut_(new QAction(QStringLiteral("缩小(&O)"), editor)),
      reset_(new QAction(QStringLiteral("原始大小(&R)"), editor)),
      baseSize_(SizeOf(editor->font()))
{
    zoomIn_->setObjectName("Action_ZoomIn");
    zoomOut_->setObjectName("Action_ZoomOut");
    reset_->setObjectName("Action_ZoomReset");
    // Ctrl+= is where "+" lies without Shift on most keyboards.
    zoomIn_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    zoomOut_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    reset_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(zoomIn_, &QAction::triggered, this, [this] { zoom(steps_ + 1); });
    connect(zoomOut_, &QAction::triggered, this, [this] { zoom(steps_ - 1); });
    connect(reset_, &QAction::triggered, this, [this] { zoom(0); });
    editor->viewport()->installEventFilter(this);
}

void EditorZoom::setBaseSize(int size)
{
    baseSize_ = size;
    zoom(steps_);
}

void EditorZoom::zoom(int steps)
{
    const int size = std::clamp(baseSize_ + steps, kSmallest, kLargest);
    steps_ = size - baseSize_;
    QFont font = editor_->font();
    if (SizeOf(font) == size)
        return;
    if (font.pixelSize() > 0)
        font.setPixelSize(size);
    else
        font.setPointSize(size);
    editor_->setFont(font);
    RefreshTabStops(editor_);
}

bool EditorZoom::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return false;
    const int delta = wheel->angleDelta().y();
    if (delta != 0)
        zoom(steps_ + (delta > 0 ? 1 : -1));
    return true;
}

}  // namespace qasp::app
