#pragma once

#include <QString>

#include <functional>

// Showing a folder in the desktop's file manager goes through here. Tests install a handler
// that records the folder instead of opening a window.
namespace FolderView
{

// Opens the folder in the desktop's file manager (or hands it to the installed handler);
// false when the desktop could not open it.
bool show(const QString& folder);

// Installs a handler in place of the desktop; an empty handler restores it.
void setHandler(std::function<bool(const QString&)> handler);

} // namespace FolderView
