#include "FirstRunCheck.h"

#include "platform/PathMap.h"
#include "platform/VbConvert.h"
#include "ui/MessageBox.h"
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
    if (!hivelet.Save(main, sub, name, QStringLiteral("1")) && hivelet.isLoaded())
        MessageBox::show(
            QStringLiteral("The Feteplan could not note that its data files are installed: the "
                           "setting %1\\%2\\%3 cannot be written.\n\nThe wizard goes on, but "
                           "it will ask for the data files again at the next start until an "
                           "administrator makes that setting writable.")
                .arg(main, sub, name),
            QStringLiteral("Feteplan"), QMessageBox::Ok, QMessageBox::Information, owner);
    return true;
}
