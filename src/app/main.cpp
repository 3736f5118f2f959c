#include "app/ZelWizard.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ZelWizard wizard;
    if (!wizard.startAndShow())
        return 1;
    return app.exec();
}
