#pragma once

// Two network namespaces joined by a veth pair, for tests that broadcast: nothing they send leaves the
// host. The module's side has kModuleAddress, the tool's side kToolAddress and a default route (without
// one the limited broadcast fails with "network unreachable"). Needs root and the ip tool; deleted
// again on every way out of the test.

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <unistd.h>

class NamespacePair {
public:
    // Addresses that exist only inside the pair.
    static inline const QString kModuleAddress = QStringLiteral("10.77.0.1");
    static inline const QString kToolAddress = QStringLiteral("10.77.0.2");

    NamespacePair()
    {
        const QString tag =
            QStringLiteral("qxns%1x%2").arg(::getpid()).arg(QRandomGenerator::global()->bounded(1000000));
        module_ = tag + QLatin1Char('m');
        tool_ = tag + QLatin1Char('t');
    }
    ~NamespacePair()
    {
        for (const QString &ns : created_)
            ip({QStringLiteral("netns"), QStringLiteral("del"), ns});
    }
    NamespacePair(const NamespacePair &) = delete;
    NamespacePair &operator=(const NamespacePair &) = delete;

    // What this machine lacks for namespaces, or empty.
    static QString missing()
    {
        if (::geteuid() != 0)
            return QStringLiteral("root, to create network namespaces");
        if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
            return QStringLiteral("the ip tool (iproute2)");
        return QString();
    }

    // Empty on success, otherwise what went wrong.
    QString setUp()
    {
        const QString add = QStringLiteral("netns add ");
        for (const QString &ns : {module_, tool_}) {
            if (QString e = ip(QStringList{QStringLiteral("netns"), QStringLiteral("add"), ns}); !e.isEmpty())
                return add + ns + QStringLiteral(": ") + e;
            created_ << ns;
        }
        const QString m = module_, t = tool_;
        const QStringList steps[] = {
            {"link", "add", "vm", "netns", m, "type", "veth", "peer", "name", "vt", "netns", t},
            {"-n", m, "addr", "add", kModuleAddress + "/24", "brd", "+", "dev", "vm"},
            {"-n", t, "addr", "add", kToolAddress + "/24", "brd", "+", "dev", "vt"},
            {"-n", m, "link", "set", "lo", "up"},
            {"-n", t, "link", "set", "lo", "up"},
            {"-n", m, "link", "set", "vm", "up"},
            {"-n", t, "link", "set", "vt", "up"},
            {"-n", t, "route", "add", "default", "dev", "vt"},
        };
        for (const QStringList &step : steps) {
            if (QString e = ip(step); !e.isEmpty())
                return step.join(QLatin1Char(' ')) + QStringLiteral(": ") + e;
        }
        return QString();
    }

    QString module() const { return module_; }
    QString tool() const { return tool_; }

private:
    static QString ip(const QStringList &args)
    {
        QProcess process;
        process.start(QStringLiteral("ip"), args);
        if (!process.waitForFinished(30000))
            return QStringLiteral("ip did not finish");
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return QString();
    }

    QString module_, tool_;
    QStringList created_;
};
