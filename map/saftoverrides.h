#pragma once
// SAFT parameters given by hand (on the command line) in place of the stored or derived ones.

#include "map/saftsettings.h"

#include <QStringList>

#include <optional>

//! Each field, when set, replaces that parameter after the map's own have been chosen.
struct SAFTOverrides
{
    std::optional<qint32> depth;     // mm
    std::optional<qint32> frequency; // kHz
    std::optional<qint32> bandwidth; // %
    std::optional<double> velocity;  // mm/µs
    std::optional<qint32> tcg;       // dB/m
    std::optional<bool> filterSW;

    bool any() const { return depth || frequency || bandwidth || velocity || tcg || filterSW; }

    void applyTo(SAFTsettings& s) const
    {
        s.depth = depth.value_or(s.depth);
        s.frequency = frequency.value_or(s.frequency);
        s.bandwidth = bandwidth.value_or(s.bandwidth);
        s.velocity = velocity.value_or(s.velocity);
        s.tcg = tcg.value_or(s.tcg);
        s.filterSW = filterSW.value_or(s.filterSW);
    }

    //! Names of the parameters set, in the record's order (as the summary lists them).
    QStringList names() const
    {
        QStringList n;
        if (depth)
            n << QStringLiteral("depth");
        if (frequency)
            n << QStringLiteral("frequency");
        if (bandwidth)
            n << QStringLiteral("bandwidth");
        if (velocity)
            n << QStringLiteral("velocity");
        if (tcg)
            n << QStringLiteral("tcg");
        if (filterSW)
            n << QStringLiteral("filterSW");
        return n;
    }
};
