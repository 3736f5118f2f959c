#pragma once

#include <QString>

#include <functional>

// The desktop's folders: showing one in the file manager goes through here (tests install a
// handler that records the folder instead of opening a window), and the folder file dialogs
// start in.
namespace FolderView
{

// Opens the folder in the desktop's file manager (or hands it to the installed handler);
// false when the desktop could not open it.
bool show(const QString& folder);

// The user's documents folder, or the home folder on a system without one: where the
// dialogs that save the plan or its exports start.
QString documents();

// Installs a handler in place of the desktop; an empty handler restores it.
void setHandler(std::function<bool(const QString&)> handler);

} // namespace FolderView
