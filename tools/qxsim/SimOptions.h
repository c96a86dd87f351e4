#pragma once

// The simulator's command line: which links to serve, which modules to simulate, which faults to inject.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

struct ListenAddress {
    bool enabled = false;
    QHostAddress host;
    quint16 port = 0; // 0: let the system pick one
};

struct ModuleIdentity {
    QByteArray id;   // 11 digits
    QByteArray zone; // 4 digits
};

// Faults that shape how answers leave the simulator, for tests of the tool's receive paths.
struct FaultOptions {
    int pieces = 1;       // each answer written in this many pieces
    int pieceDelayMs = 0; // pause between two pieces
    int delayMs = 0;      // pause before the first byte of an answer
    bool garbage = false; // binary junk in front of every answer
    int dropAfter = 0;    // close a TCP connection after this many answers; 0 never
};

struct SimOptions {
    bool pty = false;
    QString ptyLinkPath; // symlink to the pty slave, empty for none
    ListenAddress lan;
    ListenAddress relay;
    ListenAddress udp;
    bool replyFrames = false; // relay answers as module reply frames where the module has a frame form
    bool failAll = false;     // every parameter set, query and IO command answers ERROR
    bool verbose = false;
    QList<ModuleIdentity> modules;
    FaultOptions faults;
};

// Parses the arguments (argv[0] included). --help prints the usage and exits the process.
// Returns false with a message for arguments it cannot use.
bool parseSimOptions(const QStringList &arguments, SimOptions &options, QString &error);
