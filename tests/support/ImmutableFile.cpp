#include "support/ImmutableFile.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

bool runChattr(const QString &flag, const QString &path)
{
    if (QStandardPaths::findExecutable(QStringLiteral("chattr")).isEmpty())
        return false;
    QProcess chattr;
    chattr.setProcessChannelMode(QProcess::MergedChannels);
    chattr.start(QStringLiteral("chattr"), {flag, path});
    return chattr.waitForFinished(30000) && chattr.exitStatus() == QProcess::NormalExit &&
           chattr.exitCode() == 0;
}

} // namespace

ImmutableFile::ImmutableFile(const QString &path) : path_(path)
{
    set_ = runChattr(QStringLiteral("+i"), path_) && !QFileInfo(path_).isWritable();
}

ImmutableFile::~ImmutableFile()
{
    runChattr(QStringLiteral("-i"), path_);
}
