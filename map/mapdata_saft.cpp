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

bool MapData::processSAFTWith(int pitchX, int pitchY, bool bFast)
{
    m_processedVolume = std::vector<qint16>();
    updateCurrentVolume();
    recomputeProjections();
    if (!hasRawVolume())
        return false;

    Saft::Geometry g;
    g.columns = m_columns;
    g.rows = m_rows;
    g.stepH = m_stepH;
    g.stepV = m_stepV;
    g.pitchX = pitchX;
    g.pitchY = pitchY;
    g.dim0 = m_dim0;
    g.dim1 = m_dim1;
    g.dim2 = m_dim2;
    g.sampleCount = m_sampleCount;
    g.velocity = m_saft.velocity;
    if (!g.isValid())
        return false;
    // The processed volume and its accumulator of doubles.
    if (m_voxelCount * qint64(sizeof(qint16) + sizeof(double)) > Vantar::kMapMemoryLimit)
        return false;

    std::vector<qint16> volume;
    std::vector<double> accumulator;
    Saft::Signals signalTable;
    try {
        volume.assign(size_t(m_voxelCount), 0);
        accumulator.assign(size_t(m_voxelCount), 0.0);
        signalTable.assign(size_t(g.columns) * size_t(g.rows), nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (const auto& [key, trace] : m_traces) {
        // Only complete signals take part: a shorter array would be read past its end.
        if (key.i < 1 || key.j < 1 || key.i > g.columns || key.j > g.rows)
            continue;
        if (int(trace.prepared.size()) != m_sampleCount)
            continue;
        signalTable[size_t(Saft::signalIndex(g, key.i, key.j))] = trace.prepared.data();
    }

    const bool bSummed = bFast ? Saft::accumulateFast(g, signalTable, accumulator.data(), m_progress)
                               : Saft::accumulateReference(g, signalTable, accumulator.data(), m_progress);
    if (!bSummed)
        return false;
    const bool bEnvelope = bFast ? Saft::envelopeFast(g, accumulator.data(), volume.data())
                                 : Saft::envelopeReference(g, accumulator.data(), volume.data());
    accumulator = std::vector<double>();
    if (!bEnvelope)
        return false;
    return setProcessedVolume(std::move(volume));
}
