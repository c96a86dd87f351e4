#include "shell/commfunction.h"

#include "links/PComm.h"
#include "shell/MessageBoxes.h"

#include <algorithm>

// These messages are the serial library's own and stay English whatever the language setting.

namespace {

enum class Box { None, Warning, Error };

struct Failure {
    int code;
    Box box;
    const char *text;
};

constexpr Failure kOpenFailures[] = {
    {SIO_BADPORT, Box::Warning, "Open the COM port fail,hardware error!"},
    {SIO_OPENFAIL, Box::Warning, "Open the COM port fail or the COM port be used or not exist!"},
    {SIO_WIN32FAIL, Box::Warning, "Call Win32 function Fail!"},
};

constexpr Failure kFormatFailures[] = {
    {SIO_BADPORT, Box::Warning, "The COM Port not be opened!"},
    {SIO_WIN32FAIL, Box::Warning, "Call Win32 function Fail!"},
};

constexpr Failure kWriteFailures[] = {
    {SIO_BADPORT, Box::Warning, "The COM Port NOT opened!"},
    {SIO_BADPARM, Box::Error, "The Parameters error!"},
    {SIO_ABORTWRITE, Box::Warning, "The Parameters error!"},
};

constexpr Failure kCloseFailures[] = {
    {SIO_BADPORT, Box::Warning, "Close the COM port Fail or The COM Port Not exist!"},
    {SIO_WIN32FAIL, Box::Warning, "Call Win32 function Fail!"},
};

// Shows the box a table gives for rc; codes the table does not list pass silently.
template <std::size_t N> void report(const Failure (&table)[N], int rc, const QWidget *owner)
{
    for (const Failure &failure : table) {
        if (failure.code != rc)
            continue;
        const QString text = QString::fromLatin1(failure.text);
        if (failure.box == Box::Error)
            Boxes::errorUnparented(owner, text);
        else
            Boxes::warningUnparented(owner, text);
        return;
    }
}

} // namespace

bool TCommFun::ComOpen(int port, const QString &devicePath, OpenFailure *failure)
{
    const int rc = sio_open(*table_, port, devicePath, failure);
    if (rc == SIO_OK)
        return true;
    report(kOpenFailures, rc, owner_);
    return false;
}

void TCommFun::ComSetFormat(int port, int baudCode, int dataBitsCode, int stopBitsCode, int parityCode)
{
    const int format = dataBitsCode | stopBitsCode | parityCode;
    report(kFormatFailures, sio_ioctl(*table_, port, baudCode, format), owner_);
}

bool TCommFun::ComWrite(int port, const QByteArray &bytes, int count)
{
    // The library gets a private copy, so it can never write into bytes that others share. A count
    // beyond the data would read past its end: only the bytes that exist are sent.
    QByteArray copy(bytes.constData(), count < 0 ? 0 : std::min<qsizetype>(count, bytes.size()));
    const int rc = sio_write(*table_, port, copy.data(), count < 0 ? count : static_cast<int>(copy.size()));
    if (rc >= 0)
        return true;
    report(kWriteFailures, rc, owner_);
    return false;
}

QByteArray TCommFun::ComRead(int port)
{
    const int waiting = sio_iqueue(*table_, port);
    if (waiting <= 0)
        return QByteArray();
    // One read takes everything waiting, however much: a fixed 1025-byte buffer would either
    // overflow or leave the rest to be glued onto a later reply.
    QByteArray bytes(waiting, Qt::Uninitialized);
    const int got = sio_read(*table_, port, bytes.data(), waiting);
    if (got <= 0)
        return QByteArray();
    bytes.truncate(got);
    return bytes;
}

bool TCommFun::ComClose(int port)
{
    const int rc = sio_close(*table_, port);
    if (rc == SIO_OK)
        return true;
    report(kCloseFailures, rc, owner_);
    return false;
}
