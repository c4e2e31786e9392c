#include "app/interface_font.h"

#include <QStringList>

namespace qasp::app {

void InstallFontSubstitutions()
{
    const QStringList ming = {"AR PL UMing CN", "AR PL UMing TW", "AR PL SungtiL GB", "Noto Serif CJK SC",
                              "WenQuanYi Zen Hei"};
    QFont::insertSubstitutions("宋体", ming);
    QFont::insertSubstitutions("SimSun", ming);
}

QFont InterfaceFont()
{
    QFont font("宋体");
    font.setPixelSize(12);
    return font;
}

}  // namespace qasp::app
