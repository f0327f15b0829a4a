#pragma once
// Parameters of the SAFT reconstruction and the choice of the volume shown.

#include <QtGlobal>

#include <cmath>

//! Which volume of a map is shown: the SAFT reconstruction or the unprocessed one.
enum EScanProcessing : qint32 {
    ProcessedView = 0,
    RawView = 1,
};

//! SAFT parameters. Field order and types are those of the viewing-settings file.
struct SAFTsettings
{
    static constexpr double kVelocityTolerance = 0.0001;

    qint32 depth = 500;     // mm, 0 … 35000
    qint32 frequency = 50;  // kHz, 25 … 250 in steps of 5
    qint32 bandwidth = 100; // %, 25, 50, 75 or 100
    double velocity = 2.6;  // mm/µs (m/s ÷ 1000), 0.5 … 15.0
    qint32 tcg = 0;         // depth gain, dB/m, 0 … 30
    bool filterSW = true;   // subtract the signal all positions share

    //! Equal when the integers and the flag match and the velocities differ by less than 0.0001.
    bool operator==(const SAFTsettings& o) const
    {
        return depth == o.depth && frequency == o.frequency && bandwidth == o.bandwidth && tcg == o.tcg
               && filterSW == o.filterSW && std::abs(velocity - o.velocity) < kVelocityTolerance;
    }
    bool operator!=(const SAFTsettings& o) const { return !(*this == o); }
};
