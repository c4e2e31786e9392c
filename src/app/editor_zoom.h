// Zooming the editor: Ctrl+wheel, Ctrl+= and Ctrl+- a step at a time,
// Ctrl+0 back to the chosen size. Tab stops follow the font.
#pragma once

#include <QObject>

class QAction;
class QPlainTextEdit;

namespace qasp::app {

class EditorZoom : public QObject {
public:
    explicit EditorZoom(QPlainTextEdit *editor);

    QAction *zoomInAction() const { return zoomIn_; }
    QAction *zoomOutAction() const { return zoomOut_; }
    QAction *resetAction() const { return reset_; }
    // The size Ctrl+0 goes back to, in the unit the editor's font is set
    // in (pixels for the program's own font, else points).
    void setBaseSize(int size);
    // Steps away from the base size, negative when smaller.

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void zoom(int steps);

    QPlainTextEdit *editor_;
    QAction *zoomIn_;
    QAction *zoomOut_;
    QAction *reset_;
    int baseSize_;
    int steps_ = 0;
};

}  // namespace qasp::app
