#pragma once
// The signal of one probe position of a map in its three stages.

#include <QString>
#include <QtGlobal>

#include <vector>

//! Raw, filtered and prepared samples of one position. Each array holds a stretch of the
//! record, from its own first sample on: the whole record (first 0, count samples) after
//! allocate(), or only what the later steps read when a map keeps windows (MapData's sample
//! plan); what lies outside is read again from the signal file when asked for.
struct MapTrace
{
    std::vector<qint16> filtered; // normalised and band-pass filtered; builds the unprocessed volume
    std::vector<qint16> prepared; // input of SAFT
    std::vector<qint16> raw;      // as read from the file
    qint32 filteredFirst = 0;     // record sample of filtered[0]
    qint32 preparedFirst = 0;     // record sample of prepared[0]
    qint32 rawFirst = 0;          // record sample of raw[0]
    qint32 count = 0;             // samples of the whole record
    double sigma = 0.0;           // population standard deviation of the raw samples
    QString path;                 // signal file, for reading it again; empty when there is none

    MapTrace() = default;

    //! Resizes all three arrays to n zero samples from sample 0; false (and an empty trace)
    //! when the memory cannot be had or n is negative.
    bool allocate(int n);
    //! Bytes the three arrays of n samples take.
    static qint64 bytesFor(int n) { return 3 * qint64(n) * qint64(sizeof(qint16)); }

    //! The array holds samples first … first + span − 1 of the record.
    static bool holds(const std::vector<qint16>& a, int aFirst, int first, int span)
    {
        return span >= 0 && first >= aFirst && qint64(first) + span <= qint64(aFirst) + qint64(a.size());
    }
    bool holdsFiltered(int first, int span) const { return holds(filtered, filteredFirst, first, span); }
    bool holdsPrepared(int first, int span) const { return holds(prepared, preparedFirst, first, span); }
    bool holdsRaw(int first, int span) const { return holds(raw, rawFirst, first, span); }
};
