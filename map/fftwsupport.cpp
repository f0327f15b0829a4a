#include "map/fftwsupport.h"

#include <algorithm>
#include <utility>

namespace Vantar::Fftw {

std::mutex& plannerMutex()
{
    static std::mutex mutex;
    return mutex;
}

void makePlannerThreadSafe()
{
    static std::once_flag once;
    std::call_once(once, [] {
        std::lock_guard<std::mutex> lock(plannerMutex());
        fftw_make_planner_thread_safe();
    });
}

RealBuffer allocReal(size_t n)
{
    return RealBuffer(static_cast<double*>(fftw_malloc(sizeof(double) * n)));
}

ComplexBuffer allocComplex(size_t n)
{
    return ComplexBuffer(static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * n)));
}

long long blockSizeFor(int kernelLength, int n)
{
    const long long wanted = std::max<long long>(2048, 8LL * kernelLength);
    const long long enough = static_cast<long long>(n) + kernelLength - 1;
    long long size = 1;
    while (size < wanted && size < enough)
        size *= 2;
    while (size < kernelLength)
        size *= 2;
    return size;
}

PlanPair::~PlanPair()
{
    destroy();
}

PlanPair::PlanPair(PlanPair&& other) noexcept
    : m_forward(std::exchange(other.m_forward, nullptr)),
      m_backward(std::exchange(other.m_backward, nullptr)),
      m_size(std::exchange(other.m_size, 0))
{
}

PlanPair& PlanPair::operator=(PlanPair&& other) noexcept
{
    if (this != &other) {
        destroy();
        m_forward = std::exchange(other.m_forward, nullptr);
        m_backward = std::exchange(other.m_backward, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void PlanPair::destroy()
{
    if (m_forward || m_backward) {
        std::lock_guard<std::mutex> lock(plannerMutex());
        if (m_forward)
            fftw_destroy_plan(m_forward);
        if (m_backward)
            fftw_destroy_plan(m_backward);
    }
    m_forward = nullptr;
    m_backward = nullptr;
    m_size = 0;
}

PlanPair PlanPair::make(int size)
{
    PlanPair pair;
    if (size <= 0)
        return pair;
    // The estimate planner only looks at the arrays' alignment and placement; separate
    // fftw_malloc'ed arrays match every buffer the plans are later executed on.
    RealBuffer real = allocReal(size_t(size));
    ComplexBuffer spectrum = allocComplex(size_t(size) / 2 + 1);
    if (!real || !spectrum)
        return pair;
    {
        std::lock_guard<std::mutex> lock(plannerMutex());
        pair.m_forward = fftw_plan_dft_r2c_1d(size, real.get(), spectrum.get(), FFTW_ESTIMATE);
        pair.m_backward = fftw_plan_dft_c2r_1d(size, spectrum.get(), real.get(), FFTW_ESTIMATE);
    }
    pair.m_size = size;
    if (!pair.isValid())
        pair.destroy();
    return pair;
}

void PlanPair::forward(double* in, fftw_complex* out) const
{
    fftw_execute_dft_r2c(m_forward, in, out);
}

void PlanPair::backward(fftw_complex* in, double* out) const
{
    fftw_execute_dft_c2r(m_backward, in, out);
}

ComplexBuffer correlationSpectrum(const PlanPair& plans, const double* h, int kernelLength)
{
    if (!plans.isValid() || !h || kernelLength <= 0 || kernelLength > plans.size())
        return ComplexBuffer();
    const int size = plans.size();
    const size_t bins = plans.bins();
    RealBuffer in = allocReal(size_t(size));
    ComplexBuffer spectrum = allocComplex(bins);
    ComplexBuffer result = allocComplex(bins);
    if (!in || !spectrum || !result)
        return ComplexBuffer();
    std::fill(in.get(), in.get() + size, 0.0);
    std::copy(h, h + kernelLength, in.get());
    plans.forward(in.get(), spectrum.get());
    const double scale = 1.0 / double(size);
    for (size_t k = 0; k < bins; ++k) {
        result[k][0] = spectrum[k][0] * scale;
        result[k][1] = -spectrum[k][1] * scale;
    }
    return result;
}

void multiplySpectra(const fftw_complex* spectrum, const fftw_complex* kernel, fftw_complex* product,
                     size_t bins)
{
    for (size_t k = 0; k < bins; ++k) {
        const double re = spectrum[k][0] * kernel[k][0] - spectrum[k][1] * kernel[k][1];
        const double im = spectrum[k][0] * kernel[k][1] + spectrum[k][1] * kernel[k][0];
        product[k][0] = re;
        product[k][1] = im;
    }
}

void loadBlock(const double* x, int n, int first, int half, int size, double* in)
{
    for (int t = 0; t < size; ++t) {
        const long long index = static_cast<long long>(first) - half + t;
        in[t] = (index >= 0 && index < n) ? x[size_t(index)] : 0.0;
    }
}

} // namespace Vantar::Fftw
