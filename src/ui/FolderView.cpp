#include "FolderView.h"

#include <QDesktopServices>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>

namespace FolderView
{

namespace
{
std::function<bool(const QString&)>& handler()
{
    static std::function<bool(const QString&)> h;
    return h;
}
} // namespace

bool show(const QString& folder)
{
    if (handler())
        return handler()(folder);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString documents()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).exists() ? folder : QDir::homePath();
}

void setHandler(std::function<bool(const QString&)> h)
{
    handler() = std::move(h);
}

} // namespace FolderView
