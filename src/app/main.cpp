#include "wizard/Wizard.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Wizard wizard;
    if (!wizard.startAndShow())
        return 1;
    return app.exec();
}
