#include "map/bandpassfilter.h"

#include "map/fftwsupport.h"

#include <algorithm>
#include <cmath>
#include <limits>

using Vantar::Fftw::ComplexBuffer;
using Vantar::Fftw::PlanPair;
using Vantar::Fftw::RealBuffer;
using Vantar::Fftw::allocComplex;
using Vantar::Fftw::allocReal;
using Vantar::Fftw::blockSizeFor;
using Vantar::Fftw::correlationSpectrum;
using Vantar::Fftw::loadBlock;
using Vantar::Fftw::multiplySpectra;

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kFourPiSquared = 39.47841760435743;

// One row of the display gain table: F below bound takes the factor.
struct GainRow
{
    int bound;
    double factor;
};

constexpr GainRow kGainNarrow[] = {
    {29, 1.413}, {34, 1.679}, {39, 1.995}, {44, 2.239}, {49, 2.512}, {54, 2.818},
    {59, 3.162}, {64, 3.548}, {74, 3.981}, {84, 4.467}, {94, 5.012}, {109, 5.623},
    {124, 6.31}, {139, 7.079}, {149, 7.943}, {169, 8.912}, {189, 10.0}, {214, 11.22},
};
constexpr double kGainNarrowOtherwise = 12.589;

constexpr GainRow kGainWide[] = {
    {29, 1.413}, {34, 1.585}, {39, 1.778}, {44, 1.995}, {49, 2.239}, {54, 2.512},
    {59, 2.818}, {64, 3.162}, {69, 3.548}, {79, 3.981}, {89, 4.467}, {94, 5.012},
    {104, 5.623}, {114, 6.31}, {129, 7.079}, {149, 7.943}, {164, 8.912}, {174, 10.0},
    {179, 11.22}, {214, 12.589},
};
constexpr double kGainWideOtherwise = 14.125;

// Kernel length of both paths: 3 × period + 1 held in single precision, then rounded.
long long kernelLengthFor(int period)
{
    const float length = static_cast<float>(3.0 * period + 1.0);
    return static_cast<long long>(length >= 0 ? std::trunc(double(length) + 0.5)
                                              : std::trunc(double(length) - 0.5));
}

} // namespace

struct BandPassFilter::FastPath
{
    int kernelLength = 0;
    PlanPair plans;
    // Correlation spectra of the two kernels at the plans' size.
    ComplexBuffer cosineSpectrum;
    ComplexBuffer sineSpectrum;
};

BandPassFilter::BandPassFilter() = default;
BandPassFilter::~BandPassFilter() = default;

void BandPassFilter::setPeriod(int iPeriod)
{
    if (iPeriod != m_period) {
        m_period = iPeriod;
        m_kernelValid = false;
    }
}

void BandPassFilter::setBandwidth(double dBandwidth)
{
    if (dBandwidth != m_bandwidth) {
        m_bandwidth = dBandwidth;
        m_kernelValid = false;
    }
}

void BandPassFilter::makeKernel(const double* positions, int count, double f, double b, double A,
                                double* window, double* sine, double* cosine)
{
    const double L = std::log(std::pow(10.0, A / 20.0));
    const double s = 1.0 / (-(b * b * f * f / (8.0 * L)) * kFourPiSquared);
    m_windowArea = std::sqrt(kTwoPi * s);
    if (!positions)
        return;
    for (int k = 0; k < count; ++k) {
        const double x = positions[k];
        const double w = std::exp(-(x * x) / (2.0 * s));
        if (window)
            window[k] = w;
        if (cosine)
            cosine[k] = std::cos(kTwoPi * f * x) * w;
        if (sine)
            sine[k] = std::sin(kTwoPi * f * x) * w;
    }
}

void BandPassFilter::releaseKernels()
{
    m_sineKernel = std::vector<double>();
    m_cosineKernel = std::vector<double>();
    m_fast.reset();
    m_kernelValid = false;
}

bool BandPassFilter::ensureKernels()
{
    if (m_kernelValid)
        return true;
    releaseKernels();
    if (m_period < 1 || m_period > kMaxMapPeriod)
        return false;
    const int length = static_cast<int>(kernelLengthFor(m_period));
    const int half = length / 2;
    std::vector<double> positions(length);
    for (int k = 0; k < length; ++k)
        positions[k] = k - half;
    m_sineKernel.assign(length, 0.0);
    m_cosineKernel.assign(length, 0.0);
    makeKernel(positions.data(), length, 1.0 / m_period, m_bandwidth, kEdgeAttenuation, nullptr,
               m_sineKernel.data(), m_cosineKernel.data());
    double gain = 5.65 / m_windowArea;
    if (m_bandwidth > 0.75)
        gain *= 0.78;
    for (int k = 0; k < length; ++k) {
        m_sineKernel[k] *= gain;
        m_cosineKernel[k] *= gain;
    }
    m_kernelValid = true;
    return true;
}

bool BandPassFilter::ensureFastPath(int n)
{
    const int length = static_cast<int>(m_cosineKernel.size());
    const int size = static_cast<int>(blockSizeFor(length, n));
    if (m_fast && m_fast->kernelLength == length && m_fast->plans.size() == size)
        return true;
    m_fast.reset();
    auto fast = std::make_unique<FastPath>();
    fast->kernelLength = length;
    fast->plans = PlanPair::make(size);
    if (!fast->plans.isValid())
        return false;
    fast->cosineSpectrum = correlationSpectrum(fast->plans, m_cosineKernel.data(), length);
    fast->sineSpectrum = correlationSpectrum(fast->plans, m_sineKernel.data(), length);
    if (!fast->cosineSpectrum || !fast->sineSpectrum)
        return false;
    m_fast = std::move(fast);
    return true;
}

bool BandPassFilter::filterMapSignal(qint16* samples, int n, bool bEnvelope)
{
    if (!ensureKernels())
        return false;
    if (!samples || n <= 0)
        return true;
    if (!ensureFastPath(n))
        return filterMapSignalReference(samples, n, bEnvelope);
    // The correlation needs the input of block b for outputs b·block …, so the input is read
    // ahead of the output written in place: keep the samples as doubles first.
    std::vector<double> x(samples, samples + n);
    if (!filterBlocks(x.data(), n, 0, n, bEnvelope, samples))
        return filterMapSignalReference(samples, n, bEnvelope);
    return true;
}

void BandPassFilter::mapWindowInput(int n, int first, int count, int& from, int& to) const
{
    // The transform blocks reaching the window, with their inputs; they also cover the
    // direct sums' reach of half a kernel on either side.
    const long long length = kernelLengthFor(m_period);
    const long long half = length / 2;
    const long long size = blockSizeFor(int(std::min<long long>(length, 1 << 30)), n);
    const long long block = std::max<long long>(1, size - length + 1);
    from = int(std::clamp<long long>(first / block * block - half, 0, n));
    to = int(std::clamp<long long>((first + std::max(count, 1) - 1) / block * block - half + size, 0, n));
}

bool BandPassFilter::filterMapWindow(const qint16* samples, int n, int first, int count, qint16* out)
{
    if (!ensureKernels())
        return false;
    if (!samples || !out || n <= 0 || first < 0 || count < 0 || qint64(first) + count > n)
        return false;
    if (count == 0)
        return true;
    int from = 0;
    int to = 0;
    mapWindowInput(n, first, count, from, to);
    std::vector<double> x(size_t(n), 0.0);
    std::copy(samples + from, samples + to, x.begin() + from);
    if (ensureFastPath(n) && filterBlocks(x.data(), n, first, count, false, out))
        return true;
    // Without the transforms: the direct sums of the window alone.
    const int length = static_cast<int>(m_cosineKernel.size());
    const int half = length / 2;
    for (int i = first; i < first + count; ++i) {
        const int kFirst = std::max(0, half - i);
        const int kEnd = std::min(length, n - i + half);
        double sum = 0.0;
        for (int k = kFirst; k < kEnd; ++k)
            sum += m_cosineKernel[size_t(k)] * x[size_t(i - half + k)];
        out[i - first] = roundSingleToInt16(sum);
    }
    return true;
}

bool BandPassFilter::filterBlocks(const double* x, int n, int first, int count, bool bEnvelope, qint16* out) const
{
    const FastPath& fast = *m_fast;
    const PlanPair& plans = fast.plans;
    const int size = plans.size();
    const int length = fast.kernelLength;
    const int half = length / 2;
    const int block = size - length + 1; // outputs per transform free of wrap-around
    const size_t bins = plans.bins();

    RealBuffer in = allocReal(size);
    RealBuffer outA = allocReal(size);
    RealBuffer outQ = bEnvelope ? allocReal(size) : RealBuffer();
    ComplexBuffer spectrum = allocComplex(bins);
    ComplexBuffer product = allocComplex(bins);
    if (!in || !outA || (bEnvelope && !outQ) || !spectrum || !product)
        return false;

    // Only the blocks that reach the window, each exactly as the whole signal has it, so that
    // a window's values do not depend on how much of the signal was filtered.
    const int end = first + count;
    for (int start = first / block * block; start < end; start += block) {
        loadBlock(x, n, start, half, size, in.get());
        plans.forward(in.get(), spectrum.get());
        multiplySpectra(spectrum.get(), fast.cosineSpectrum.get(), product.get(), bins);
        plans.backward(product.get(), outA.get());
        if (bEnvelope) {
            multiplySpectra(spectrum.get(), fast.sineSpectrum.get(), product.get(), bins);
            plans.backward(product.get(), outQ.get());
        }
        const int from = std::max(start, first);
        const int to = std::min({start + block, end, n});
        for (int i = from; i < to; ++i) {
            const double a = outA[i - start];
            if (bEnvelope) {
                const double q = outQ[i - start];
                out[i - first] = roundSingleToInt16(std::sqrt(a * a + q * q));
            } else {
                out[i - first] = roundSingleToInt16(a);
            }
        }
    }
    return true;
}

bool BandPassFilter::filterMapSignalReference(qint16* samples, int n, bool bEnvelope)
{
    if (!ensureKernels())
        return false;
    if (!samples || n <= 0)
        return true;
    const int length = static_cast<int>(m_cosineKernel.size());
    std::vector<double> a(samples, samples + n);
    correlate(a.data(), n, m_cosineKernel.data(), length);
    if (bEnvelope) {
        std::vector<double> q(samples, samples + n);
        correlate(q.data(), n, m_sineKernel.data(), length);
        for (int i = 0; i < n; ++i)
            samples[i] = roundSingleToInt16(std::sqrt(a[i] * a[i] + q[i] * q[i]));
    } else {
        for (int i = 0; i < n; ++i)
            samples[i] = roundSingleToInt16(a[i]);
    }
    return true;
}

void BandPassFilter::correlate(double* x, int n, const double* h, int kernelLength)
{
    if (!x || !h || n <= 0 || kernelLength <= 0)
        return;
    const int half = kernelLength / 2;
    std::vector<double> y(size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        // Terms whose sample index i − half + k lies outside 0 … n − 1 are left out.
        const int kFirst = std::max(0, half - i);
        const int kEnd = std::min(kernelLength, n - i + half);
        double sum = 0.0;
        for (int k = kFirst; k < kEnd; ++k)
            sum += h[k] * x[i - half + k];
        y[i] = sum;
    }
    std::copy(y.begin(), y.end(), x);
}

void BandPassFilter::correlateInt(qint16* x, int n, const qint16* taps, int kernelLength, int divisor)
{
    if (!x || !taps || n <= 0 || kernelLength <= 0 || divisor == 0)
        return;
    const int half = kernelLength / 2;
    // Only the non-zero taps contribute; the sparse kernels have at most twenty.
    std::vector<int> nonZero;
    for (int k = 0; k < kernelLength; ++k)
        if (taps[k] != 0)
            nonZero.push_back(k);
    const double d = divisor;
    std::vector<qint16> y(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (int k : nonZero) {
            const int index = i - half + k;
            if (index < 0 || index >= n)
                continue;
            const qint32 product = qint32(taps[k]) * qint32(x[index]);
            sum += product / d;
        }
        y[i] = roundSingleToInt16(sum);
    }
    std::copy(y.begin(), y.end(), x);
}

double BandPassFilter::gainFactor(int frequencyKHz, double dBandwidth)
{
    if (dBandwidth > 0.75) {
        for (const GainRow& row : kGainWide)
            if (frequencyKHz < row.bound)
                return row.factor;
        return kGainWideOtherwise;
    }
    for (const GainRow& row : kGainNarrow)
        if (frequencyKHz < row.bound)
            return row.factor;
    return kGainNarrowOtherwise;
}

bool BandPassFilter::makeDisplayKernels(int scale, DisplayKernels& k)
{
    if (m_period < 1 || scale < 1)
        return false;
    const long long length = kernelLengthFor(m_period);
    // Both kernels hold kDisplayKernelSize entries and are read over the whole kernel length;
    // a longer kernel would index past them.
    if (length > kDisplayKernelSize)
        return false;
    k.kernelLength = static_cast<int>(length);
    k.half = k.kernelLength / 2;
    k.step = static_cast<int>(std::trunc(k.half / 10.0));
    k.offset = k.step / 2;
    std::array<double, kDisplayTaps> x{};
    for (int m = 0; m < kDisplayTaps; ++m) {
        k.positions[m] = k.offset + m * k.step;
        x[m] = k.positions[m];
    }
    std::array<double, kDisplayTaps> s{};
    std::array<double, kDisplayTaps> c{};
    makeKernel(x.data(), kDisplayTaps, 1.0 / m_period, m_bandwidth, kEdgeAttenuation, nullptr, s.data(),
               c.data());
    double gain = 170.0 / m_windowArea;
    k.frequencyKHz = 10000 / m_period;
    k.factor = gainFactor(k.frequencyKHz, m_bandwidth);
    gain /= k.factor;
    for (int m = 0; m < kDisplayTaps; ++m) {
        s[m] *= gain;
        c[m] *= gain;
        k.sineTaps[m] = roundToInt16(s[m] * scale);
        k.cosineTaps[m] = roundToInt16(c[m] * scale);
    }
    k.sineKernel.assign(kDisplayKernelSize, 0);
    k.cosineKernel.assign(kDisplayKernelSize, 0);
    for (int m = 0; m < kDisplayTaps && k.positions[m] < k.half; ++m) {
        const int p = k.positions[m];
        k.sineKernel[k.half + p] = k.sineTaps[m];
        k.sineKernel[k.half - p] = roundToInt16(-double(k.sineTaps[m]));
        k.cosineKernel[k.half + p] = k.cosineTaps[m];
        k.cosineKernel[k.half - p] = k.cosineTaps[m];
    }
    return true;
}

bool BandPassFilter::filterDisplaySignal(qint16* samples, int n, int scale, bool bEnvelope)
{
    DisplayKernels k;
    if (!makeDisplayKernels(scale, k))
        return false;
    if (!samples || n <= 0)
        return true;
    std::vector<qint16> copy;
    if (bEnvelope) {
        copy.assign(samples, samples + n);
        correlateInt(copy.data(), n, k.sineKernel.data(), k.kernelLength, scale);
    }
    correlateInt(samples, n, k.cosineKernel.data(), k.kernelLength, scale);
    if (bEnvelope) {
        for (int i = 0; i < n; ++i) {
            // 64-bit sum: two squares of −32768 do not fit 32 bits.
            const qint64 sum = qint64(copy[i]) * copy[i] + qint64(samples[i]) * samples[i];
            samples[i] = roundSingleToInt16(std::sqrt(double(sum)));
        }
    }
    return true;
}

qint16 BandPassFilter::roundToInt16(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = value >= 0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
    if (r >= std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    if (r <= std::numeric_limits<qint16>::min())
        return std::numeric_limits<qint16>::min();
    return static_cast<qint16>(r);
}

qint16 BandPassFilter::roundSingleToInt16(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 65536.0)
        return std::numeric_limits<qint16>::max();
    if (value <= -65536.0)
        return std::numeric_limits<qint16>::min();
    return roundToInt16(static_cast<double>(static_cast<float>(value)));
}
