#include "DataFileCheck.h"

#include "platform/PathMap.h"
#include "store/frmData.h"
#include "ui/MessageBox.h"
#include "ui/ProgramEnd.h"
#include "wizard/WizardState.h"

#include <QDir>
#include <QFileInfo>

namespace
{
const QString kTitle = QStringLiteral("Unable to continue");

bool stop(const QString& text)
{
    MessageBox::show(text, kTitle, QMessageBox::Ok, QMessageBox::NoIcon);
    ProgramEnd::end(1);
    return false;
}
} // namespace

bool DataFileCheck::makeFolders(WizardState& state)
{
    state.DbFolder = PathMap::dbFolder();
    state.MediaFolder = PathMap::mediaFolder();
    for (const QString& folder : {state.DbFolder, state.MediaFolder}) {
        if (!QDir().mkpath(folder))
            return stop(QStringLiteral("The folder %1 cannot be created. Please check that you "
                                       "may write there.")
                            .arg(QDir::toNativeSeparators(folder)));
    }
    return true;
}

bool DataFileCheck::run(WizardState& state)
{
    state.DbFolder = PathMap::dbFolder();
    if (!QFileInfo::exists(PathMap::eventDatabase())) {
        frmData data;
        if (!data.MakeZELdatabase(state.DbFolder))
            return stop(
                QStringLiteral("The event database %1 cannot be created: %2")
                    .arg(QDir::toNativeSeparators(PathMap::eventDatabase()), data.errorString()));
    }
    if (!QFileInfo::exists(PathMap::catalogue()))
        return stop(QStringLiteral("Missing data files"));
    return true;
}
