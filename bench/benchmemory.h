#pragma once
// Peak memory of a benchmark process, from /proc/self (Linux); 0 elsewhere.

#include <QByteArray>
#include <QFile>

#include <cstring>

namespace Bench {

//! kB of a /proc/self/status line (VmRSS, VmHWM); 0 where there is none.
inline long statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').first().toLong();
    return 0;
}

//! Resets the peak so that the next VmHWM is the peak of what follows.
inline void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

} // namespace Bench
