#pragma once

#include <QIcon>

// The small pictures on the Add and Remove buttons of the list pages, drawn so that they
// need no picture file and stay sharp at any scale.
namespace ListIcons
{

QIcon add();
QIcon remove();

} // namespace ListIcons
