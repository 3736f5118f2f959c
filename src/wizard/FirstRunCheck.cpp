#include "FirstRunCheck.h"

#include "platform/PathMap.h"
#include "platform/VbConvert.h"
#include "ui/ProgramEnd.h"
#include "wizard/Hivelet.h"
#include "wizard/frmLoadData.h"

#include <QFileInfo>

bool FirstRunCheck::run(Hivelet& hivelet, QWidget* owner)
{
    const QString main = QStringLiteral("ZEL"), sub = QStringLiteral("Data"),
                  name = QStringLiteral("Ready");
    bool installed;
    if (hivelet.isLoaded())
        installed = VbConvert::leadingInt16(hivelet.Get(main, sub, name, QStringLiteral("0"))) != 0;
    else
        installed = QFileInfo::exists(PathMap::catalogue());

    if (!installed) {
        frmLoadData loader(owner);
        loader.exec();
        if (ProgramEnd::hasEnded())
            return false;
    }
    hivelet.Save(main, sub, name, QStringLiteral("1")); // a failure shows the loader next time
    return true;
}
