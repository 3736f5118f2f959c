#include "Wizard.h"

#include "platform/MessageBox.h"
#include "platform/PathMap.h"
#include "platform/ProgramEnd.h"
#include "store/StoreSession.h"
#include "wizard/DataFileCheck.h"

Wizard::Wizard() = default;
Wizard::~Wizard() = default;

KeyedItemStore& Wizard::items() { return m_store->items(); }

bool Wizard::start()
{
    m_state.initialise();
    if (!DataFileCheck::run(m_state))
        return false;
    return openData();
}

bool Wizard::openData()
{
    m_store = std::make_unique<StoreSession>(PathMap::eventDatabase(), PathMap::catalogue());
    if (m_store->isOpen())
        return true;
    MessageBox::show(m_store->errorString() +
                         QStringLiteral("\n\nThe wizard cannot go on without it. Your files "
                                        "have not been changed."),
                     QStringLiteral("Unable to continue"), QMessageBox::Ok, QMessageBox::Critical);
    ProgramEnd::end(1);
    return false;
}
