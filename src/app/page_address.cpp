#include "app/page_address.h"

namespace qasp::app {

QUrl PageAddress(const QString &base, const QString &relativePath)
{
    QUrl site = QUrl::fromUserInput(base.trimmed());
    QString folder = site.path();
    if (!folder.endsWith('/'))
        folder += '/';
    site.setPath(folder);
    if (relativePath.isEmpty())
        return site;
    QUrl page;
    page.setPath(relativePath);  // decoded form: QUrl encodes what it must
    return site.resolved(page);
}

}  // namespace qasp::app
