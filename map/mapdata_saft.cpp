// SAFT reconstruction of a map's prepared signals into its processed volume.

#include "map/mapdata.h"

#include "map/saftkernel.h"

#include <new>

bool MapData::processSAFT(int pitchX, int pitchY)
{
    return processSAFTWith(pitchX, pitchY, true);
}

bool MapData::processSAFTReference(int pitchX, int pitchY)
{
    return processSAFTWith(pitchX, pitchY, false);
}

Saft::Geometry MapData::saftGeometry(int pitchX, int pitchY, int dim0, int dim1, int dim2) const
{
    Saft::Geometry g;
    g.columns = m_columns;
    g.rows = m_rows;
    g.stepH = m_stepH;
    g.stepV = m_stepV;
    g.pitchX = pitchX;
    g.pitchY = pitchY;
    g.dim0 = dim0;
    g.dim1 = dim1;
    g.dim2 = dim2;
    g.sampleCount = m_sampleCount;
    g.velocity = m_saft.velocity;
    return g;
}

bool MapData::processSAFTWith(int pitchX, int pitchY, bool bFast)
{
    m_processedVolume = std::vector<qint16>();
    updateCurrentVolume();
    recomputeProjections();
    if (!hasRawVolume())
        return false;

    Saft::Geometry g = saftGeometry(pitchX, pitchY, m_dim0, m_dim1, m_dim2);
    if (!g.isValid())
        return false;
    // The processed volume and, for the loops, an accumulator of doubles.
    const qint64 bytes = m_voxelCount * qint64(sizeof(qint16) + (bFast ? 0 : sizeof(double)));
    if (bytes > Vantar::kMapMemoryLimit)
        return false;

    std::vector<qint16> volume;
    std::vector<double> accumulator;
    Saft::Signals signalTable;
    try {
        volume.assign(size_t(m_voxelCount), 0);
        if (!bFast)
            accumulator.assign(size_t(m_voxelCount), 0.0);
        signalTable.assign(size_t(g.columns) * size_t(g.rows), nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Only signals prepared over every sample the sums can read take part: a shorter array
    // would be read past its end. Signals of a map's files always are.
    int first = 0;
    int end = 0;
    Saft::sampleRange(g, first, end);
    g.firstSample = first;
    for (const auto& [key, trace] : m_traces) {
        if (key.i < 1 || key.j < 1 || key.i > g.columns || key.j > g.rows)
            continue;
        if (!trace.holdsPrepared(first, end - first)) {
            if (!trace.path.isEmpty())
                return false; // prepared for another grid: the sums would miss this signal
            continue;
        }
        signalTable[size_t(Saft::signalIndex(g, key.i, key.j))] = trace.prepared.data() + (first - trace.preparedFirst);
    }

    if (bFast) {
        if (!Saft::reconstructFast(g, signalTable, volume.data(), m_progress))
            return false;
    } else {
        if (!Saft::accumulateReference(g, signalTable, accumulator.data(), m_progress))
            return false;
        if (!Saft::envelopeReference(g, accumulator.data(), volume.data()))
            return false;
        accumulator = std::vector<double>();
    }
    return setProcessedVolume(std::move(volume));
}
