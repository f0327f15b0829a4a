#include "map/preparefir.h"

#include "map/fftwsupport.h"

#include <algorithm>
#include <cmath>

namespace PrepareFir {

using Vantar::Fftw::ComplexBuffer;
using Vantar::Fftw::PlanPair;
using Vantar::Fftw::RealBuffer;
using Vantar::Fftw::allocComplex;
using Vantar::Fftw::allocReal;

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kFourPiSquared = 39.47841760435743;

} // namespace

void makeFftwThreadSafe()
{
    Vantar::Fftw::makePlannerThreadSafe();
}

bool makeWindowedKernel(const qint16* positions, int K, double* cosine, double* sine, double* window, double f,
                        double b, double A)
{
    if (!positions || K <= 0 || !(b > 0) || f < 0 || std::isnan(f) || !(A < 0) || !cosine || !sine || !window)
        return false;
    const double L = std::log(std::pow(10.0, A / 20.0));
    const double s = 1.0 / (-(b * b * f * f / (8.0 * L)) * kFourPiSquared);
    for (int k = 0; k < K; ++k) {
        const double p = positions[k];
        const double w = std::exp(-(p * p) / (2.0 * s));
        window[k] = w;
        cosine[k] = std::cos(kTwoPi * f * p) * w;
        sine[k] = std::sin(kTwoPi * f * p) * w;
    }
    return true;
}

void convolveSame(const double* x, int rows, int cols, const double* kernel, int kRows, int kCols, double* y)
{
    if (!x || !kernel || !y || rows <= 0 || cols <= 0 || kRows <= 0 || kCols <= 0)
        return;
    const int hr = kRows / 2;
    const int hc = kCols / 2;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            double sum = 0.0;
            for (int u = 0; u < kRows; ++u) {
                const int xr = r - u + hr;
                if (xr < 0 || xr >= rows)
                    continue;
                // Kernel columns whose input column c − v + hc lies inside 0 … cols − 1.
                const int vFirst = std::max(0, c + hc - (cols - 1));
                const int vEnd = std::min(kCols, c + hc + 1);
                const double* xrow = x + size_t(xr) * size_t(cols);
                const double* krow = kernel + size_t(u) * size_t(kCols);
                for (int v = vFirst; v < vEnd; ++v)
                    sum += krow[v] * xrow[c - v + hc];
            }
            y[size_t(r) * size_t(cols) + size_t(c)] = sum;
        }
    }
}

double populationSigma(const double* x, int n)
{
    if (!x || n <= 0)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += x[i];
    const double mean = sum / n;
    double squares = 0.0;
    for (int i = 0; i < n; ++i)
        squares += (x[i] - mean) * (x[i] - mean);
    return std::sqrt(squares / n);
}

struct Correlator::Plans
{
    PlanPair pair;
    ComplexBuffer spectrum; // correlation spectrum of the kernel
};

class Correlator::Workspace
{
public:
    RealBuffer in;
    RealBuffer out;
    ComplexBuffer spectrum;
    std::vector<double> copy; // the input, read ahead of the output written in place
};

Correlator::Correlator() = default;
Correlator::~Correlator() = default;

bool Correlator::isValid() const
{
    return m_plans != nullptr;
}

bool Correlator::build(const double* h, int kernelLength, int n)
{
    m_plans.reset();
    m_n = 0;
    makeFftwThreadSafe();
    if (!h || kernelLength <= 0 || n <= 0)
        return false;
    const long long size = Vantar::Fftw::blockSizeFor(kernelLength, n);
    if (size > (1LL << 26))
        return false;
    auto plans = std::make_unique<Plans>();
    plans->pair = PlanPair::make(int(size));
    if (!plans->pair.isValid())
        return false;
    plans->spectrum = Vantar::Fftw::correlationSpectrum(plans->pair, h, kernelLength);
    if (!plans->spectrum)
        return false;
    m_plans = std::move(plans);
    m_n = n;
    m_kernelLength = kernelLength;
    m_size = int(size);
    return true;
}

void Correlator::WorkspaceDeleter::operator()(Workspace* p) const
{
    delete p;
}

Correlator::WorkspacePtr Correlator::makeWorkspace() const
{
    if (!m_plans)
        return nullptr;
    WorkspacePtr ws(new Workspace);
    ws->in = allocReal(size_t(m_size));
    ws->out = allocReal(size_t(m_size));
    ws->spectrum = allocComplex(size_t(m_size) / 2 + 1);
    if (!ws->in || !ws->out || !ws->spectrum)
        return nullptr;
    try {
        ws->copy.resize(size_t(m_n));
    } catch (...) {
        return nullptr;
    }
    return ws;
}

void Correlator::apply(Workspace& ws, const double* x, double* y) const
{
    if (!m_plans || !x || !y)
        return;
    const int n = m_n;
    const int size = m_size;
    const int half = m_kernelLength / 2;
    const int block = size - m_kernelLength + 1; // outputs per transform free of wrap-around
    const PlanPair& pair = m_plans->pair;
    const size_t bins = pair.bins();
    std::copy(x, x + n, ws.copy.begin());
    const double* src = ws.copy.data();
    const fftw_complex* kernel = m_plans->spectrum.get();
    for (int first = 0; first < n; first += block) {
        Vantar::Fftw::loadBlock(src, n, first, half, size, ws.in.get());
        pair.forward(ws.in.get(), ws.spectrum.get());
        Vantar::Fftw::multiplySpectra(ws.spectrum.get(), kernel, ws.spectrum.get(), bins);
        pair.backward(ws.spectrum.get(), ws.out.get());
        const int count = std::min(block, n - first);
        std::copy(ws.out.get(), ws.out.get() + count, y + first);
    }
}

void Correlator::inputSpan(int first, int count, int& from, int& to) const
{
    from = to = 0;
    if (!m_plans || count <= 0)
        return;
    const int half = m_kernelLength / 2;
    const int block = m_size - m_kernelLength + 1;
    const qint64 firstBlock = qint64(first) / block * block;
    const qint64 lastBlock = qint64(first + count - 1) / block * block;
    from = int(std::clamp<qint64>(firstBlock - half, 0, m_n));
    to = int(std::clamp<qint64>(lastBlock - half + m_size, 0, m_n));
}

void Correlator::applyWindow(Workspace& ws, const double* x, double* y, int first, int count) const
{
    if (!m_plans || !x || !y || first < 0 || count <= 0 || qint64(first) + count > m_n)
        return;
    const int n = m_n;
    const int size = m_size;
    const int half = m_kernelLength / 2;
    const int block = size - m_kernelLength + 1;
    const PlanPair& pair = m_plans->pair;
    const size_t bins = pair.bins();
    const fftw_complex* kernel = m_plans->spectrum.get();
    int from = 0;
    int to = 0;
    inputSpan(first, count, from, to);
    std::copy(x + from, x + to, ws.copy.begin() + from);
    x = ws.copy.data();
    const int end = first + count;
    // The same blocks as apply(), so that the window's values are those of the whole signal.
    for (int start = first / block * block; start < end; start += block) {
        Vantar::Fftw::loadBlock(x, n, start, half, size, ws.in.get());
        pair.forward(ws.in.get(), ws.spectrum.get());
        Vantar::Fftw::multiplySpectra(ws.spectrum.get(), kernel, ws.spectrum.get(), bins);
        pair.backward(ws.spectrum.get(), ws.out.get());
        const int lo = std::max(start, first);
        const int hi = std::min(start + block, end);
        std::copy(ws.out.get() + (lo - start), ws.out.get() + (hi - start), y + lo);
    }
}

} // namespace PrepareFir
