#include "mapview/readoutformat.h"

#include <algorithm>

namespace Readout {

QString metres(double dValue)
{
    QString s = QStringLiteral("%1").arg(dValue, 0, 'f', 2);
    if (s == QLatin1String("-0.00"))
        s = QStringLiteral("0.00");
    return s;
}

QString whole(int iValue)
{
    return QString::number(iValue);
}

QString reportText(const QString& strName, const QString& strUnit, double dValue)
{
    return QStringLiteral("%1, %2 = ").arg(strName, strUnit) + metres(dValue);
}

int digitsFor(const QString& strText, int iMinimum)
{
    return std::max(iMinimum, int(strText.size()));
}

Slots standardLayout(int iWidth, int iMinXY, int iMaxXY, int iMinZA, int iMaxZA)
{
    Slots s;
    int wXY, wZA, gap;
    if (iWidth >= 2 * (iMaxXY + iMaxZA) + 30) {
        wXY = iMaxXY;
        wZA = iMaxZA;
        gap = (iWidth - 2 * (iMaxXY + iMaxZA)) / 3;
    } else {
        gap = 10;
        const int extra = std::max(0, iWidth - 2 * (iMinXY + iMinZA + 15)) / 4;
        wXY = iMinXY + extra;
        wZA = iMinZA + extra;
    }
    s.width = {wXY, wXY, wZA, wZA};
    int x = 0;
    for (int i = 0; i < 4; ++i) {
        s.x[size_t(i)] = x;
        x += s.width[size_t(i)] + gap;
    }
    return s;
}

Slots differenceLayout(int iWidth, int iMinXYZ, int iMaxXYZ, int iMinA, int iMaxA)
{
    Slots s;
    int w, wA, gap;
    if (iWidth >= 3 * iMaxXYZ + iMaxA + 30) {
        w = iMaxXYZ;
        wA = iMaxA;
        gap = (iWidth - 3 * iMaxXYZ - iMaxA) / 3;
    } else {
        gap = 10;
        const int extra = std::max(0, iWidth - (3 * iMinXYZ + 30) - iMinA) / 4;
        w = iMinXYZ + extra;
        wA = std::max(iMinA, iWidth - 3 * w - 3 * gap);
    }
    s.width = {w, w, w, wA};
    int x = 0;
    for (int i = 0; i < 4; ++i) {
        s.x[size_t(i)] = x;
        x += s.width[size_t(i)] + gap;
    }
    return s;
}

} // namespace Readout
