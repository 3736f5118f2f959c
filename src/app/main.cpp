#include "app/InfoOptions.h"
#include "app/ZelWizard.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (const int status = InfoOptions::answer(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    ZelWizard wizard;
    if (!wizard.startAndShow())
        return 1;
    return app.exec();
}
