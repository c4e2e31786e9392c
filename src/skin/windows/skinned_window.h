// SkinnedWindow: the frame painter of one top-level window. The window
// becomes frameless; the painter draws the skin's borders and caption with
// its text and buttons in the window's margins, cuts the window's shape
// from the borders' magenta pixels, and moves, sizes, maximises,
// minimises and closes the window from its frame. Detaching gives the
// window back exactly as it was.
#pragma once

#include "skin/windows/frame_geometry.h"
#include "skin/windows/caption_button.h"
#include "skin/windows/window_drag.h"

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QRegion>
#include <QTimer>

#include <memory>
#include <vector>

class QMenu;
class QMouseEvent;
class QWidget;

namespace qasp::skin {

class SkinnedControl;
class SkinData;

class SkinnedWindow : public QObject {
    Q_OBJECT
public:
    enum FrameState { kNew = 0, kReady = 1, kRefreshing = 3, kDestroying = 4, kSizingAtSetup = 5, kDead = 6 };

    // `owner` is the framework form the painter serves (it owns the
    // painter), or none for a system dialog box.
    SkinnedWindow(QWidget *window, QWidget *owner);
    ~SkinnedWindow() override;

    QWidget *window() const { return window_; }
    QWidget *FormControl = nullptr;
    SkinData *skinData_ = nullptr;
    int State = kNew;
    int WindowState = kNormalState;
    int FrameKind = kSizableFrame;
    int Capabilities = 0;
    bool SkinsFrame = false;
    bool IsActive = false, IsSystemDialog = false, RightToLeft = false, Sizable = false;
    FrameMetrics Metrics;
    std::vector<std::unique_ptr<CaptionButton>> SysButtons;
    FrameObject *HoverObject = nullptr;
    QMenu *SkinnedSystemMenu = nullptr;
    QRegion Region;
    QSize RegionSize;
    QImage IconBitmap;
    QFont CaptionFont;
    QString TextPrefix = QStringLiteral(" "), TextSuffix = QStringLiteral("  ");
    QRect CaptionTextRect;
    int CaptionRightLimit = 0;
    bool Busy = false;
    qint64 LastClickTime = 0;
    int DoubleClickTime = 400;
    QTimer Timer;
    quintptr ModuleTag = 0;

    void AttachForm(SkinData *skinData, QWidget *form);
    void AttachWindow(SkinData *skinData);
    void FinishSetup();
    void RecalcMetrics();
    void DropCachedPieces();
    void UpdateRegion();
    void RefreshAfterSkinChange();
    void Detach();
    void DetachOnDestroy();

    // Paints the frame into the window's margins.
    void PaintFrame(QPainter &painter);
    void RepaintFrame();
    void RepaintFrameRect(const QRect &rect);
    void PaintCaptionIcon(QPainter &painter, const QRect &bounds) const;
    // The caption text as shown: the window title with its modified mark.
    QString CaptionText() const;

    // The skinned-control objects of the window's controls.
    std::vector<QPointer<SkinnedControl>> SkinControlList;
    // Adds unless present; says whether it was present.
    bool AddSkinControl(SkinnedControl *control);
    void RemoveSkinControl(SkinnedControl *control);
    SkinnedControl *FindSkinControl(const QWidget *control) const;
    // Every control of the program's own form, and of a toolkit dialog box.
    void ClassifyControls(QWidget *form);
    void ClassifyChildWindows(QWidget *window);
    // A control added after set-up, in a part of the window already classified.
    void ClassifyLateControl(QWidget *control);
    void ReleaseControls();

    // Caption button actions and the system menu.
    void RunButtonAction(int action, QPoint globalPoint);
    void OpenSystemMenu(QPoint globalPoint);
    QMenu *BuildSystemMenu();

    // Where a point of the window falls, and the frame object under it.
    FrameHit HitTest(QPoint point) const;
    FrameObject *HitObject(QPoint point) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool FrameEvent(QEvent *event);
    bool MouseEvent(QMouseEvent *event);
    void OnTimer();
    void LayOutCaption(int width);
    void PaintCaptionStrip(QPainter &painter, int width);
    void ApplyFrame(bool on);
    void KeepClientSize(const FrameMetrics &from, const FrameMetrics &to);
    void ReadWindowState();
    void WidenForCaption();
    void SetCursorFor(FrameHit hit);
    bool LooksActive() const;
    void ClassifyOne(QWidget *control, bool bareWindow);
    void ClassifyChildren(QWidget *parent, bool bareWindow);

    QPointer<QWidget> window_;
    bool attached_ = false;
    int widenings_ = 0;
    std::vector<QPointer<QWidget>> classified_;  // containers whose controls were classified
    FrameMetrics applied_;  // the margins the window carries now
    WindowDrag drag_;

    // What skinning changed, to give back.
    struct Saved {
        Qt::WindowFlags flags;
        QMargins margins;
        QRegion mask;
        QPalette palette;
        bool paletteSet = false;
        bool mouseTracking = false;
        bool cursorSet = false;
        QCursor cursor;
        QSize minimum, maximum;
    } saved_;
};

}  // namespace qasp::skin
