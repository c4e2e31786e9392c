// SkinData: the component through which a window turns skinning on. It
// keeps the compressed skin stream, builds the skin model from it, and
// registers with the skin manager, which paints the windows with that model.
#pragma once

#include "skin/data/skin_model.h"

#include <QImage>
#include <QObject>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>

namespace qasp::skin {

// The kinds of control that are skinned, member i at bit i.
enum SkinControlBit {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport,
};
enum SkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoMDIChildBorder,
};
enum SkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

class SkinData : public QObject {
    Q_OBJECT
public:
    explicit SkinData(QObject *owner = nullptr);
    ~SkinData() override;

    // Published properties.
    bool Active() const { return active_; }
    void SetActive(bool value);
    uint32_t SkinControls = 0x1FFFFB;  // all but xcMenuItem and xcFastReport
    uint8_t Options = 0x48;            // xoPreview, xoToolbarBK
    // Lines "ClassName=kind" giving a control class the painter of a kind
    // (see ClassifySkin3rd), for an application's own control classes.
    // Empty by default: the class table knows Qt's controls.
    QStringList Skin3rd;
    const QString &SkinFile() const { return skinFile_; }
    void SetSkinFile(const QString &name);
    SkinFormType SkinFormtype = sfMainform;
    std::function<void(QObject *sender, const QString &name, bool &doSkin)> OnFormSkin;
    std::function<void(QObject *sender)> OnSkinChanged;
    // Offered each control the frame painter is about to skin, with its
    // class name upper-cased; a skinned-control object set into
    // `skinnedControl` paints that control instead of the engine's choice.
    std::function<void(QObject *sender, SkinData *skinData, QWidget *form, QWidget *control,
                       const QString &controlClass, QObject *&skinnedControl)>
        OnSkinControl;

    bool Has(SkinControlBit t) const { return SkinControls & (1u << t); }
    bool Has(SkinOption o) const { return Options & (1u << o); }

    // The compressed skin stream, and the model built from it. A stream
    // that is no skin, or whose model lacks what a window needs (see
    // required_elements.h), leaves the previous model and NoSkin() set.
    void SetSkinStream(const std::string &stream);
    const std::string &SkinStream() const { return stream_; }
    bool LoadSkinStream();
    // Switches to another compressed skin, as SetSkinFile does with a file.
    void UseSkinStream(const std::string &stream);
    bool NoSkin() const { return noSkin_; }
    const SkinModel &Model() const { return *model_; }

    // The form has been read: register with the manager and ask for skinning.
    void Loaded(QWidget *ownerWindow = nullptr);
    // Whether a window of this class name is skinned.
    void FormSkinQuery(const QString &className, bool &doSkin) const;
    void SkinChanged();
    SkinColour FrameColour() const { return model_->FrameColour(); }

    // The Skin3rd kind of a class name ("combobox", ...), empty when none.
    QString Skin3rdKind(const QString &className) const;

    // Four 16 x 16 glyphs for the window menu: restore, maximise, minimise, close.
    const QImage &MenuImages() const { return menuImages_; }
    // The application's small icon, for a caption without a window icon.
    const QImage &AppIconBitmap() const { return appIcon_; }

    // The old-format message; a message box in the program.
    std::function<void(const std::string &)> ShowMessage;

private:
    void CaptureAppIcon();
    void RefreshSkin();

    QImage menuImages_;
    QImage appIcon_;
    bool active_ = false;
    bool noSkin_ = true;
    bool loaded_ = false;
    QString skinFile_;
    std::string stream_;
    std::unique_ptr<SkinModel> model_;
};

}  // namespace qasp::skin
