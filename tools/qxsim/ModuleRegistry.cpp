#include "ModuleRegistry.h"

ModuleRegistry::ModuleRegistry(const QList<ModuleIdentity> &identities, bool failAll)
{
    for (const ModuleIdentity &identity : identities)
        m_modules.push_back(std::make_unique<SimModule>(identity, failAll));
}

SimModule *ModuleRegistry::findById(const QByteArray &id)
{
    for (const std::unique_ptr<SimModule> &module : m_modules) {
        if (module->id() == id)
            return module.get();
    }
    return nullptr;
}
