// The address the 测试 button opens: the site's address from the box joined
// with the page's path below the site root.
#pragma once

#include <QString>
#include <QUrl>

namespace qasp::app {

// `base` may lack its trailing slash ("http://host/app" is the folder app);
// `relativePath` uses '/' and is percent-encoded as an address needs.
QUrl PageAddress(const QString &base, const QString &relativePath);

}  // namespace qasp::app
