#include "processmemory.h"

#include <QFile>

namespace {

qint64 statusField(const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = name + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (!line.startsWith(prefix))
            continue;
        // "VmHWM:	  123456 kB"
        const QByteArray kibibytes = line.mid(prefix.size()).trimmed().split(' ').value(0);
        bool ok = false;
        const qint64 value = kibibytes.toLongLong(&ok);
        return ok ? value * 1024 : -1;
    }
    return -1;
}

} // namespace

qint64 ProcessMemory::peakResident()
{
    return statusField("VmHWM");
}

qint64 ProcessMemory::resident()
{
    return statusField("VmRSS");
}
