#pragma once

// Where the benchmarks find qxctl and qxsim: the variable's path when set, else the build folder.

#include <QCoreApplication>
#include <QDir>
#include <QString>

inline QString toolBinary(const char *variable, const char *name)
{
    const QString set = qEnvironmentVariable(variable);
    return set.isEmpty() ? QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral("../") + QString::fromLatin1(name))
                         : set;
}
