#include "skin/data/skin_data.h"

#include "skin/data/quick_ini.h"
#include "skin/data/required_elements.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_reader.h"
#include "text/file_read.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>

namespace qasp::skin {
namespace {

SkinManagerLink *&TheManager()
{
    static SkinManagerLink *manager = nullptr;
    return manager;
}

SkinManagerLink::Factory &TheFactory()
{
    static SkinManagerLink::Factory factory = nullptr;
    return factory;
}

QImage ProgramPicture(const char *name)
{
    return QImage(QString(":/skin/program/%1").arg(name)).convertToFormat(QImage::Format_RGB888);
}

}  // namespace

SkinManagerLink *SkinManagerLink::instance()
{
    return TheManager();
}

SkinManagerLink *SkinManagerLink::createIfMissing()
{
    if (!TheManager() && TheFactory())
        TheManager() = TheFactory()();
    return TheManager();
}

void SkinManagerLink::installFactory(Factory factory)
{
    TheFactory() = factory;
}

void SkinManagerLink::clearInstance(SkinManagerLink *manager)
{
    if (TheManager() == manager)
        TheManager() = nullptr;
}

SkinData::SkinData(QObject *owner) : QObject(owner), model_(std::make_unique<SkinModel>())
{
    menuImages_ = ProgramPicture("menuglyphs.bmp");
    MakeMagentaTransparent(menuImages_);
    appIcon_ = QImage(16, 16, QImage::Format_ARGB32_Premultiplied);
    appIcon_.fill(Qt::transparent);
}

SkinData::~SkinData()
{
    if (SkinManagerLink *manager = SkinManagerLink::instance())
        manager->removeSkinData(this);
}

void SkinData::SetSkinStream(const std::string &stream)
{
    stream_ = stream;
    if (!stream_.empty())
        LoadSkinStream();
}

bool SkinData::LoadSkinStream()
{
    noSkin_ = true;
    TSkinReader reader;
    reader.ShowMessage = ShowMessage;
    if (!reader.ReadSkin(stream_))
        return false;  // the previous model stays in place
    TQuickIni ini;
    std::string iniName;
    ini.Load(reader.ExtractFirstMatch(".ini", iniName));
    SkinEnvironment environment;
    environment.track = ProgramPicture("track.bmp");
    environment.trackVert = ProgramPicture("trackvert.bmp");
    auto model = std::make_unique<SkinModel>();
    BuildSkinModel(*model, reader, ini, environment);
    if (!MissingRequiredElements(*model).empty())
        return false;  // windows could not be framed with it: the previous model stays
    model_ = std::move(model);
    noSkin_ = false;
    return true;
}

void SkinData::SetSkinFile(const QString &name)
{
    noSkin_ = true;
    skinFile_ = name;
    // Read within a limit: a device or an endless file is no skin.
    FileRead read = ReadFileWithin(QFile::encodeName(name).toStdString(), kMaxSkinFileBytes);
    if (!read.Ok())
        return;
    stream_ = std::move(read.bytes);
    LoadSkinStream();
    if (SkinFormtype == sfMainform)
        RefreshSkin();
}

void SkinData::UseSkinStream(const std::string &stream)
{
    skinFile_.clear();
    stream_ = stream;
    LoadSkinStream();
    if (SkinFormtype == sfMainform)
        RefreshSkin();
}

void SkinData::RefreshSkin()
{
    if (!loaded_)
        Loaded();
    if (SkinManagerLink *manager = SkinManagerLink::instance()) {
        manager->setPendingSkinData(this);
        manager->releaseSkinPieces();
        if (manager->state() == SkinManagerState::Running)
            manager->requestAction(SkinAction::SkinChanged, 250);
    }
}

void SkinData::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (!loaded_)
        return;  // the form is still being read: Loaded decides
    SkinManagerLink *manager = SkinManagerLink::instance();
    if (!manager)
        return;
    switch (SkinFormtype) {
    case sfMainform:
        if (value && noSkin_)
            return;
        manager->setPendingSkinData(this);
        manager->requestAction(value ? SkinAction::Activate : SkinAction::Deactivate, 250);
        if (value)
            manager->setState(SkinManagerState::Running);
        break;
    case sfOnlyThisForm:
        manager->setPendingSkinData(this);
        if (!value)
            manager->requestAction(SkinAction::Deactivate, 250);
        else if (!noSkin_)
            manager->requestAction(SkinAction::Activate, 250);
        break;
    default: break;
    }
}

void SkinData::Loaded(QWidget *ownerWindow)
{
    loaded_ = true;
    SkinManagerLink *manager = SkinManagerLink::createIfMissing();
    if (manager)
        manager->addSkinData(this);
    if (SkinFormtype == sfMainform) {
        if (manager)
            manager->installHook();
        if (active_ && noSkin_) {
            active_ = false;
        } else if (active_ && manager) {
            manager->setPendingSkinData(this);
            manager->requestAction(SkinAction::Activate, 250);
        }
        if (Has(xcMainMenu))
            SkinControls &= ~(1u << xcMenuItem);
        else
            SkinControls &= ~(1u << xcSystemMenu);
        CaptureAppIcon();
    } else if (manager) {
        manager->setActive(true);
        if (manager->state() == SkinManagerState::NotStarted)
            manager->setState(SkinManagerState::Running);
        if (ownerWindow)
            manager->skinWindow(ownerWindow);
    }
}

void SkinData::FormSkinQuery(const QString &className, bool &doSkin) const
{
    if (OnFormSkin) {
        OnFormSkin(const_cast<SkinData *>(this), className, doSkin);
        return;
    }
    if (className == "SysMonthCal32" || (Has(xcFastReport) && className.startsWith("Tfr")))
        doSkin = false;
}

void SkinData::SkinChanged()
{
    if (OnSkinChanged)
        OnSkinChanged(this);
}

QString SkinData::Skin3rdKind(const QString &className) const
{
    const QString key = className.toLower() + "=";
    for (const QString &line : Skin3rd)
        if (line.toLower().startsWith(key))
            return line.mid(line.indexOf('=') + 1).left(50).toLower();
    return {};
}

void SkinData::CaptureAppIcon()
{
    if (!qGuiApp)
        return;
    const QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull())
        return;
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.drawPixmap(0, 0, icon.pixmap(16, 16));
    appIcon_ = image;
}

}  // namespace qasp::skin
