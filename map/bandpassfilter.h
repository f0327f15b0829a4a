#pragma once
// Band-pass filter centred on the probe frequency: a Gaussian-windowed cosine (filtered signal)
// and the sine of the same window (quadrature part, for the envelope).

#include <QtGlobal>

#include <array>
#include <memory>
#include <vector>

//! Band-pass filter with two paths: full-length double kernels, cached per period and
//! bandwidth, for map signals, and ten sparse integer taps for the A-scan display.
class BandPassFilter
{
public:
    static constexpr int kDefaultPeriod = 600;
    static constexpr double kDefaultBandwidth = 0.5;
    //! Attenuation at the pass band's edges, dB.
    static constexpr double kEdgeAttenuation = -3.0;
    //! Tap positions of the display path.
    static constexpr int kDisplayTaps = 10;
    //! Entries of each integer kernel of the display path; longer kernels are refused.
    static constexpr int kDisplayKernelSize = 2048;
    //! Longest period the map path accepts (kernel of 3 × period + 1 doubles).
    static constexpr int kMaxMapPeriod = 100000;

    //! The sparse kernels of the display path as computed for one call.
    struct DisplayKernels
    {
        int kernelLength = 0; // round(3 × period + 1)
        int half = 0;         // kernelLength / 2
        int step = 0;         // spacing of the taps
        int offset = 0;       // position of the first tap
        int frequencyKHz = 0; // 10000 / period
        double factor = 1.0;  // gain factor taken from the table
        std::array<int, kDisplayTaps> positions{};
        std::array<qint16, kDisplayTaps> sineTaps{};   // quantised sine values
        std::array<qint16, kDisplayTaps> cosineTaps{}; // quantised cosine values
        std::vector<qint16> sineKernel;   // kDisplayKernelSize entries, antisymmetric
        std::vector<qint16> cosineKernel; // kDisplayKernelSize entries, symmetric
    };

    BandPassFilter();
    ~BandPassFilter();
    BandPassFilter(const BandPassFilter&) = delete;
    BandPassFilter& operator=(const BandPassFilter&) = delete;

    int period() const { return m_period; }
    double bandwidth() const { return m_bandwidth; }
    //! sqrt(2π·s) of the kernel computed last.
    double windowArea() const { return m_windowArea; }
    //! The cached map kernels match the period and bandwidth.
    bool kernelValid() const { return m_kernelValid; }

    //! A different value invalidates the cached kernels.
    void setPeriod(int iPeriod);
    //! Relative width of the pass band at −3 dB; a different value invalidates the kernels.
    void setBandwidth(double dBandwidth);

    //! Gaussian-windowed cosine and sine at the given positions, frequency f (cycles per
    //! sample), relative bandwidth b and edge attenuation A (dB). Null outputs are skipped.
    //! Sets windowArea.
    void makeKernel(const double* positions, int count, double f, double b, double A,
                    double* window, double* sine, double* cosine);

    //! Builds the cached map kernels when they are not valid. False, with no kernels, when
    //! the period lies outside 1 … kMaxMapPeriod.
    bool ensureKernels();
    const std::vector<double>& sineKernel() const { return m_sineKernel; }
    const std::vector<double>& cosineKernel() const { return m_cosineKernel; }

    //! Filters n map samples in place (FFT-based correlation). Results saturate at the 16-bit
    //! range. False, samples untouched, when the kernels cannot be built.
    bool filterMapSignal(qint16* samples, int n, bool bEnvelope);
    //! Samples first … first + count − 1 (into out) of what filterMapSignal gives for the n
    //! samples, bit for bit, computing only the transform blocks that reach them. False when
    //! the kernels cannot be built or the window lies outside the signal. Only the samples
    //! [from, to) that mapWindowInput gives are read.
    bool filterMapWindow(const qint16* samples, int n, int first, int count, qint16* out);
    //! The samples [from, to) of n that filterMapWindow(first, count) reads at the current period.
    void mapWindowInput(int n, int first, int count, int& from, int& to) const;
    //! The same result computed by direct correlation; the reference for tests and benchmarks.
    bool filterMapSignalReference(qint16* samples, int n, bool bEnvelope);

    //! Sparse integer filtering in place with fixed-point scale. False, samples untouched,
    //! when the period is not positive or its kernel would not fit kDisplayKernelSize entries
    //! (period above 682) or scale is not positive.
    bool filterDisplaySignal(qint16* samples, int n, int scale, bool bEnvelope);
    //! The taps filterDisplaySignal uses; false when it would refuse. Sets windowArea.
    bool makeDisplayKernels(int scale, DisplayKernels& kernels);

    //! Gain factor of the display path for F = 10000 / period and the bandwidth.
    static double gainFactor(int frequencyKHz, double dBandwidth);

    //! y[i] = Σ h[k]·x[i − Lk/2 + k] over the samples that exist, in place.
    static void correlate(double* x, int n, const double* h, int kernelLength);
    //! The integer form: products as 32-bit integers, each divided by divisor in double
    //! precision, the sum rounded in single precision to a saturated 16-bit value.
    static void correlateInt(qint16* x, int n, const qint16* taps, int kernelLength, int divisor);

    //! Halves away from zero, saturated to the 16-bit range; NaN gives 0.
    static qint16 roundToInt16(double value);
    //! The value stored as a 32-bit float first, then rounded as roundToInt16.
    static qint16 roundSingleToInt16(double value);

private:
    struct FastPath;

    void releaseKernels();
    bool ensureFastPath(int n);
    // Outputs first … first + count − 1 of the fast path from n doubles; false without memory.
    bool filterBlocks(const double* x, int n, int first, int count, bool bEnvelope, qint16* out) const;

    int m_period = kDefaultPeriod;
    double m_bandwidth = kDefaultBandwidth;
    double m_windowArea = 1.0;
    bool m_kernelValid = false;
    std::vector<double> m_sineKernel;
    std::vector<double> m_cosineKernel;
    std::unique_ptr<FastPath> m_fast;
};
