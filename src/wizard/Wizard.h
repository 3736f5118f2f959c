#pragma once

#include "wizard/WizardState.h"

#include <memory>

class StoreSession;
class KeyedItemStore;

// The application object: owns the program-wide state, the store session and the pages,
// and runs the start-up in its fixed order.
class Wizard {
public:
    Wizard();
    ~Wizard();
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    // Runs the start-up. Returns false when the program was ended (a message was shown).
    bool start();

    WizardState& state() { return m_state; }
    StoreSession& store() { return *m_store; }
    KeyedItemStore& items();

private:
    bool openData();

    WizardState m_state;
    std::unique_ptr<StoreSession> m_store;
};
