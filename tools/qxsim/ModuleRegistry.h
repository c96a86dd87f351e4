#pragma once

// The simulated modules of one run. The first one serves the pty and the LAN port.

#include "SimModule.h"

#include <memory>
#include <vector>

class ModuleRegistry {
public:
    ModuleRegistry(const QList<ModuleIdentity> &identities, bool failAll);

    SimModule &first() { return *m_modules.front(); }
    // The module that currently answers to this ID, or nullptr.
    SimModule *findById(const QByteArray &id);
    const std::vector<std::unique_ptr<SimModule>> &modules() const { return m_modules; }

private:
    std::vector<std::unique_ptr<SimModule>> m_modules;
};
