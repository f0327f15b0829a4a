#pragma once
// The windowed-sine FIR that prepares map signals for SAFT: the kernel, the direct two-
// dimensional "same" convolution, and an FFT correlator that gives the same sums fast.

#include <QtGlobal>

#include <memory>
#include <vector>

namespace PrepareFir {

//! Makes FFTW's planner safe to call from several threads at once; map steps plan on workers.
void makeFftwThreadSafe();

//! Gaussian-windowed cosine and sine at integer positions: s = 1 / (−(b²f² / (8 ln 10^(A/20)))
//! × 4π²), window = exp(−p² / 2s), cosine = cos(2πfp)·window, sine = sin(2πfp)·window.
//! False, computing nothing, when positions are missing or K is 0, b ≤ 0, f < 0, A ≥ 0 or an
//! output is missing.
bool makeWindowedKernel(const qint16* positions, int K, double* cosine, double* sine, double* window, double f,
                        double b, double A);

//! y[r][c] = Σ kernel[u][v]·x[r − u + kRows/2][c − v + kCols/2] over the cells inside x; y has
//! the size of x and must not overlap it.
void convolveSame(const double* x, int rows, int cols, const double* kernel, int kRows, int kCols, double* y);

//! Population standard deviation: mean = Σx/n, sqrt(Σ(x − mean)² / n); 0 for n ≤ 0.
double populationSigma(const double* x, int n);

//! Centred correlation y[i] = Σ h[k]·x[i − L/2 + k] (terms outside the signal left out) by
//! overlap-save FFT blocks. Build once per kernel and signal length; apply() may then run on
//! several threads at once, each with its own Workspace.
class Correlator
{
public:
    //! Buffers of one thread.
    class Workspace;
    struct WorkspaceDeleter
    {
        void operator()(Workspace* p) const;
    };
    using WorkspacePtr = std::unique_ptr<Workspace, WorkspaceDeleter>;

    Correlator();
    ~Correlator();
    Correlator(const Correlator&) = delete;
    Correlator& operator=(const Correlator&) = delete;

    //! Transforms the kernel for signals of n samples. False when memory or a plan cannot be had.
    bool build(const double* h, int kernelLength, int n);
    bool isValid() const;
    int signalLength() const { return m_n; }

    //! A workspace for apply(); null when memory runs out.
    WorkspacePtr makeWorkspace() const;
    //! y (n values) from x (n values); x and y may be the same array.
    void apply(Workspace& ws, const double* x, double* y) const;
    //! Only y[first] … y[first + count − 1], bit for bit as apply() gives them; x (indexed as
    //! in apply) is read only over inputSpan(first, count); x and y may be the same array.
    void applyWindow(Workspace& ws, const double* x, double* y, int first, int count) const;
    //! The samples [from, to) of x that applyWindow(first, count) reads.
    void inputSpan(int first, int count, int& from, int& to) const;

private:
    struct Plans;
    std::unique_ptr<Plans> m_plans;
    int m_n = 0;
    int m_kernelLength = 0;
    int m_size = 0;
};

} // namespace PrepareFir
