#include "app/platform/realpath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace Vantar {

namespace {

// Links that point at links: more than this many and the path is taken as written.
constexpr int kMaxLinkDepth = 40;

QString joined(const QString& strFolder, const QString& strName)
{
    return strFolder.endsWith(u'/') ? strFolder + strName : strFolder + u'/' + strName;
}

QString parentOf(const QString& strPath, const QString& strRoot)
{
    if (strPath.size() <= strRoot.size())
        return strRoot;
    const qsizetype slash = strPath.lastIndexOf(u'/');
    return slash < strRoot.size() ? strRoot : strPath.left(slash);
}

QString resolve(const QString& strPath, int iDepth)
{
    // Not QFileInfo::absoluteFilePath: it drops ".." before the links are known.
    QString abs = QDir::fromNativeSeparators(strPath);
    if (QDir::isRelativePath(abs))
        abs = joined(QDir::fromNativeSeparators(QDir::currentPath()), abs);
    // The root is everything up to the first separator: "/" here, "C:/" or "//host/" elsewhere.
    qsizetype rootEnd = abs.indexOf(u'/');
    if (abs.startsWith(QLatin1String("//")))
        rootEnd = abs.indexOf(u'/', 2);
    if (rootEnd < 0)
        return abs;
    const QString root = abs.left(rootEnd + 1);
    const QStringList parts = abs.mid(rootEnd + 1).split(u'/', Qt::SkipEmptyParts);

    QString current = root;
    bool bExisting = true;
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            current = parentOf(current, root);
            continue;
        }
        const QString candidate = joined(current, part);
        if (!bExisting) {
            current = candidate;
            continue;
        }
        const QFileInfo info(candidate);
        if (info.exists()) {
            const QString canonical = info.canonicalFilePath();
            current = canonical.isEmpty() ? candidate : QDir::fromNativeSeparators(canonical);
        } else if (info.isSymLink() && iDepth < kMaxLinkDepth) {
            // A link to a place that does not exist yet: writing through it would land there.
            current = resolve(QDir::fromNativeSeparators(info.symLinkTarget()), iDepth + 1);
            bExisting = false;
        } else {
            current = candidate;
            bExisting = false;
        }
    }
    return current;
}

} // namespace

QString realPath(const QString& strPath)
{
    if (strPath.isEmpty())
        return QString();
    return resolve(strPath, 0);
}

bool isSameOrInside(const QString& strPath, const QString& strFolder, Qt::CaseSensitivity cs)
{
    if (strFolder.isEmpty() || strPath.isEmpty())
        return false;
    if (strFolder.endsWith(u'/'))
        return strPath.startsWith(strFolder, cs) || strPath.compare(strFolder.chopped(1), cs) == 0;
    if (strPath.compare(strFolder, cs) == 0)
        return true;
    return strPath.size() > strFolder.size() && strPath.at(strFolder.size()) == u'/'
           && strPath.startsWith(strFolder, cs);
}

} // namespace Vantar
