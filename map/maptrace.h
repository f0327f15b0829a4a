#pragma once
// The signal of one probe position of a map in its three stages.

#include <QtGlobal>

#include <vector>

//! Raw, filtered and prepared samples of one position; all three arrays have count entries.
struct MapTrace
{
    std::vector<qint16> filtered; // normalised and band-pass filtered; builds the unprocessed volume
    std::vector<qint16> prepared; // input of SAFT
    std::vector<qint16> raw;      // as read from the file
    qint32 count = 0;             // samples in each array
    double sigma = 0.0;           // population standard deviation of the raw samples

    MapTrace() = default;

    //! Resizes all three arrays to n zero samples; false (and an empty trace) when the memory
    //! cannot be had or n is negative.
    bool allocate(int n);
    //! Bytes the three arrays of n samples take.
    static qint64 bytesFor(int n) { return 3 * qint64(n) * qint64(sizeof(qint16)); }
};
