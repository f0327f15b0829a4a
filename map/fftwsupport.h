#pragma once
// FFTW plumbing shared by the map filters: one planner lock for the whole process, buffers from
// fftw_malloc, a real-to-complex plan pair and the pieces of an overlap-save correlation.

#include <fftw3.h>

#include <cstddef>
#include <memory>
#include <mutex>

namespace Vantar::Fftw {

//! FFTW's planner (making and destroying plans) is global state: every plan in the process is
//! made and destroyed under this one lock. Executing an existing plan needs no lock.
std::mutex& plannerMutex();

//! Installs FFTW's own planner lock once, under plannerMutex(), so that no planning is in flight
//! while it is switched on.
void makePlannerThreadSafe();

struct FftwFree
{
    void operator()(void* p) const { fftw_free(p); }
};
using RealBuffer = std::unique_ptr<double[], FftwFree>;
using ComplexBuffer = std::unique_ptr<fftw_complex[], FftwFree>;

//! n doubles from fftw_malloc (aligned as the plans expect); empty when memory runs out.
RealBuffer allocReal(size_t n);
//! n complex values from fftw_malloc; empty when memory runs out.
ComplexBuffer allocComplex(size_t n);

//! Transform size of an overlap-save correlation of n samples with a kernel of kernelLength: a
//! power of two of a few kernel lengths, never much longer than the signal needs.
long long blockSizeFor(int kernelLength, int n);

//! Forward real-to-complex and backward complex-to-real plans of one size, made with
//! FFTW_ESTIMATE on fftw_malloc'ed arrays. Making and destroying take plannerMutex().
class PlanPair
{
public:
    PlanPair() = default;
    ~PlanPair();
    PlanPair(PlanPair&& other) noexcept;
    PlanPair& operator=(PlanPair&& other) noexcept;
    PlanPair(const PlanPair&) = delete;
    PlanPair& operator=(const PlanPair&) = delete;

    //! Plans for size points; an invalid pair when memory or a plan cannot be had.
    static PlanPair make(int size);

    bool isValid() const { return m_forward && m_backward; }
    int size() const { return m_size; }
    //! size / 2 + 1 spectrum bins.
    size_t bins() const { return size_t(m_size) / 2 + 1; }

    //! in (size values) to out (bins values). Arrays must come from fftw_malloc.
    void forward(double* in, fftw_complex* out) const;
    //! in (bins values, overwritten) to out (size values, unnormalised).
    void backward(fftw_complex* in, double* out) const;

private:
    void destroy();

    fftw_plan m_forward = nullptr;
    fftw_plan m_backward = nullptr;
    int m_size = 0;
};

//! Conjugated spectrum of the kernel h, zero-padded to the plans' size and divided by it:
//! multiplying a block's spectrum by it and transforming back gives the correlation directly.
//! Empty when memory runs out or kernelLength exceeds the size.
ComplexBuffer correlationSpectrum(const PlanPair& plans, const double* h, int kernelLength);

//! product[k] = spectrum[k] × kernel[k] over bins values; product may be spectrum.
void multiplySpectra(const fftw_complex* spectrum, const fftw_complex* kernel, fftw_complex* product,
                     size_t bins);

//! Input of the overlap-save block whose first output is x[first]: in[t] = x[first − half + t]
//! for t = 0 … size − 1, zero outside the n samples.
void loadBlock(const double* x, int n, int first, int half, int size, double* in);

} // namespace Vantar::Fftw
