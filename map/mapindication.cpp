#include "map/mapindication.h"

QString MapIndication::decimal(double dValue)
{
    QString s = QString::number(dValue, 'f', 1);
    if (s.startsWith(u'-') && s.mid(1).toDouble() == 0.0)
        s.remove(0, 1);
    return s;
}
