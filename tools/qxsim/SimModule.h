#pragma once

// One simulated QX5120: its parameters, status, IO pins, and the interpreter of its AT commands.
// Link-independent: the links hand it one command at a time, without the line end.

#include "ParameterTable.h"
#include "SimOptions.h"

#include <QByteArray>
#include <QHash>
#include <array>

struct SimAnswer {
    enum class Kind {
        Ack,     // OK/ERROR acknowledgements, "+++", operations
        Query,   // a parameter query answered with its value
        Status,  // status texts and lists
        Io,      // an IO command carried out
        Refused, // ERROR for a refused or unknown command
    };
    Kind kind = Kind::Refused;
    QByteArray text;                          // the plain answer, line end included
    const ParameterSpec *parameter = nullptr; // Query: the parameter that was read
    QByteArray ioBody;                        // Io: the pin's state as a reply body, operation letter "B"
};

class SimModule {
public:
    SimModule(const ModuleIdentity &factoryIdentity, bool failAll);

    SimAnswer execute(const QByteArray &command);

    // Current identity: follows DEVID and ZONE, so a module that is given a new ID answers to it.
    QByteArray id() const;
    QByteArray zone() const;
    QByteArray stationMac() const;
    QByteArray remoteList(const ParameterSpec &parameter) const;

private:
    struct Pin {
        char mode = 'O';
        char pull = 'U';
        char level = '1';
    };

    void restoreFactory();
    SimAnswer runParameter(const ParameterSpec &parameter, const QByteArray &value);
    SimAnswer runIo(const QByteArray &value);
    SimAnswer runOperation(const QByteArray &name);

    ModuleIdentity m_factory;
    bool m_failAll;
    QHash<QByteArray, ParameterValues> m_values;
    std::array<Pin, 8> m_pins;
};
