#pragma once
// Byte putters for hand-built file layouts and whole-file helpers shared by the file tests.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>

#include <cstring>

namespace TestBytes {

// n bytes of v at `at`, low byte first (the instrument's own blocks).
inline void putLe(QByteArray& b, qsizetype at, quint64 v, int n)
{
    for (int i = 0; i < n; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// n bytes of v at `at`, high byte first (the program's own files).
inline void putBe(QByteArray& b, qsizetype at, quint64 v, int n)
{
    for (int i = 0; i < n; ++i)
        b[at + i] = char((v >> (8 * (n - 1 - i))) & 0xFF);
}

inline void putBeDouble(QByteArray& b, qsizetype at, double d)
{
    quint64 bits = 0;
    std::memcpy(&bits, &d, 8);
    putBe(b, at, bits, 8);
}

inline void appendBe(QByteArray& b, quint64 v, int n)
{
    b.append(QByteArray(n, '\0'));
    putBe(b, b.size() - n, v, n);
}

inline void appendBeDouble(QByteArray& b, double d)
{
    b.append(QByteArray(8, '\0'));
    putBeDouble(b, b.size() - 8, d);
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A file of `size` zero bytes.
inline bool touch(const QString& path, qint64 size = 0)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize(size);
}

struct ToolRun
{
    int exitCode = -1; // -1: did not finish normally
    QByteArray out;
    QString err;
};

inline ToolRun runTool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(VANTAR_BIN_DIR "/vantar-tool"), args);
    ToolRun r;
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = tool.exitCode();
    r.out = tool.readAllStandardOutput();
    r.err = QString::fromUtf8(tool.readAllStandardError());
    return r;
}

} // namespace TestBytes
