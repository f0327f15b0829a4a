#include "mapview/mappalette.h"

namespace MapPalette {

const std::array<QRgb, kStops>& stops()
{
    static const std::array<QRgb, kStops> s = {
        qRgb(0, 0, 0),     qRgb(0, 0, 127),   qRgb(0, 0, 255),   qRgb(0, 127, 255), qRgb(0, 255, 255),
        qRgb(0, 255, 127), qRgb(0, 255, 0),   qRgb(255, 255, 0), qRgb(255, 0, 0),
    };
    return s;
}

namespace {

std::array<QRgb, kSize> build()
{
    std::array<QRgb, kSize> table{};
    const auto& s = stops();
    const double step = double(kSize - 1) / double(kStops - 1); // 31.875
    int entry = 0;
    for (int k = 0; k < kStops - 1 && entry < kSize; ++k) {
        const int r0 = qRed(s[k]), g0 = qGreen(s[k]), b0 = qBlue(s[k]);
        const int dr = qRed(s[k + 1]) - r0, dg = qGreen(s[k + 1]) - g0, db = qBlue(s[k + 1]) - b0;
        for (int j = 0; entry < kSize && entry < k * step + step + 0.1; ++j, ++entry) {
            // Truncation towards zero, as the channels of falling segments need.
            const int r = int(r0 + dr * j / step);
            const int g = int(g0 + dg * j / step);
            const int b = int(b0 + db * j / step);
            table[size_t(entry)] = qRgb(r, g, b);
        }
    }
    return table;
}

} // namespace

const std::array<QRgb, kSize>& colours()
{
    static const std::array<QRgb, kSize> table = build();
    return table;
}

QRgb colour(int iIndex)
{
    return colours()[size_t(iIndex < 0 ? 0 : (iIndex >= kSize ? kSize - 1 : iIndex))];
}

const std::array<quint16, kSize>& colours565()
{
    static const std::array<quint16, kSize> table = [] {
        std::array<quint16, kSize> t{};
        for (int i = 0; i < kSize; ++i)
            t[size_t(i)] = toRgb565(colours()[size_t(i)]);
        return t;
    }();
    return table;
}

QList<QRgb> colourTable()
{
    const auto& c = colours();
    return QList<QRgb>(c.begin(), c.end());
}

} // namespace MapPalette
