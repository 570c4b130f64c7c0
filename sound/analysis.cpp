// The sound analysis: each finished buffer slides the 1024-sample window, the window is
// transformed, and three bands of the transform raise or fade the colour bytes.
//
// The transform is the plain radix-2 decimation-in-time one: bit-reversed input, then
// `levels` passes of butterflies, each butterfly
//     T = U·b;  b' = a − T;  a' = a + T
// with U read from the level's precomputed table. The code below visits the butterflies in
// another order — they are independent of each other within a level — so that they run over
// contiguous memory, several at a time, and two levels per pass over the bins; but it
// computes every butterfly with exactly those operations. The first two levels, whose
// inputs are still real, skip only the products with a zero imaginary part (which changes
// at most the sign of a zero). The bins are the plain loop's, to the last bit, and so are
// the band values: square root and division are exact to the last bit in vector form too.
#include "sound/analysis.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "settings/shared.h"
#include "sound/wave_recorder.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VLX_X86_VECTORS 1
#endif

// ---- Shared state --------------------------------------------------------------------------

std::atomic<BYTE> soundColor[3] = {1, 1, 1};
std::atomic<float> bandOffset[3] = {0.2f, 0.4f, 0.2f};
std::atomic<int> gainBase{50};
std::atomic<BYTE> swapRedBlue{0};
std::atomic<float> bandDivisor{1.0f};

// ---- Sample cursor -------------------------------------------------------------------------

SampleCursor::SampleCursor(const WaveRecorder& recorder, const char* data)
    : data(data), recorder(recorder), count(recorder.samplesPerBuffer) {}

int SampleCursor::Next() {
    return recorder.GetSample(data, index++);
}

// ---- Butterflies ---------------------------------------------------------------------------

namespace {

#define VLX_INLINE inline __attribute__((always_inline))

// Two or four doubles: SSE2, which every x86-64 processor has, or AVX. The code is written
// once, for a width W; vectors are read and written through a packed wrapper (any double's
// alignment, aliasing the arrays) and handed around by reference, so that no vector crosses
// a call in code compiled without AVX.
template <int W>
struct Lanes {
    typedef double Vector __attribute__((vector_size(8 * W)));
    struct __attribute__((packed, may_alias)) InPlace {
        Vector v;
    };
};

template <int W>
VLX_INLINE void Load(typename Lanes<W>::Vector& v, const double* p) {
    v = reinterpret_cast<const typename Lanes<W>::InPlace*>(p)->v;
}

template <int W>
VLX_INLINE void Store(double* p, const typename Lanes<W>::Vector& v) {
    reinterpret_cast<typename Lanes<W>::InPlace*>(p)->v = v;
}

// One butterfly per lane: T = U·b (T.re = U.re·b.re − U.im·b.im, T.im = U.im·b.re +
// U.re·b.im); b = a − T; a = a + T.
template <int W>
VLX_INLINE void Butterfly(typename Lanes<W>::Vector& aRe, typename Lanes<W>::Vector& aIm,
                          typename Lanes<W>::Vector& bRe, typename Lanes<W>::Vector& bIm,
                          const double* uRe, const double* uIm) {
    typename Lanes<W>::Vector ur, ui;
    Load<W>(ur, uRe);
    Load<W>(ui, uIm);
    const auto tRe = ur * bRe - ui * bIm;
    const auto tIm = ui * bRe + ur * bIm;
    bRe = aRe - tRe;
    bIm = aIm - tIm;
    aRe = aRe + tRe;
    aIm = aIm + tIm;
}

// Writes lane t of rows 0..3 to out[position[t] + 0..3]: a transpose into place.
template <int W>
VLX_INLINE void StoreLanes(const typename Lanes<W>::Vector& row0, const typename Lanes<W>::Vector& row1,
                           const typename Lanes<W>::Vector& row2, const typename Lanes<W>::Vector& row3,
                           const int* position, double* out) {
    if constexpr (W == 4) {
        const auto t0 = __builtin_shufflevector(row0, row1, 0, 4, 2, 6);
        const auto t1 = __builtin_shufflevector(row0, row1, 1, 5, 3, 7);
        const auto t2 = __builtin_shufflevector(row2, row3, 0, 4, 2, 6);
        const auto t3 = __builtin_shufflevector(row2, row3, 1, 5, 3, 7);
        Store<W>(out + position[0], __builtin_shufflevector(t0, t2, 0, 1, 4, 5));
        Store<W>(out + position[1], __builtin_shufflevector(t1, t3, 0, 1, 4, 5));
        Store<W>(out + position[2], __builtin_shufflevector(t0, t2, 2, 3, 6, 7));
        Store<W>(out + position[3], __builtin_shufflevector(t1, t3, 2, 3, 6, 7));
    } else {
        Store<W>(out + position[0], __builtin_shufflevector(row0, row1, 0, 2));
        Store<W>(out + position[0] + 2, __builtin_shufflevector(row2, row3, 0, 2));
        Store<W>(out + position[1], __builtin_shufflevector(row0, row1, 1, 3));
        Store<W>(out + position[1] + 2, __builtin_shufflevector(row2, row3, 1, 3));
    }
}

// Bit-reversed input and levels 1 and 2, one group of four bins at a time. Window sample i
// goes to bin bitReverse[i]; for i in the first quarter that is a multiple of four, and the
// samples i + N/2, i + N/4 and i + 3N/4 follow it in bins +1, +2 and +3. All four are real.
// Level 1 multiplies by U = 1 − j·0; level 2 by the same and then by U2 = twiddle(2, 1), and
// a real number times U2 is (U2.re·x, U2.im·x).
struct Levels12 {
    double u2Re, u2Im;

    // One group: inputs x0..x3 (window samples i, i + N/2, i + N/4, i + 3N/4), bins from p.
    void Group(double x0, double x1, double x2, double x3, double* re, double* im, int p) const {
        const double a = x0 + x1, b = x0 - x1;   // level 1
        const double c = x2 + x3, d = x2 - x3;
        const double tRe = u2Re * d, tIm = u2Im * d;
        re[p] = a + c;                            // level 2
        im[p] = 0.0;
        re[p + 2] = a - c;
        im[p + 2] = 0.0;
        re[p + 1] = b + tRe;
        im[p + 1] = tIm;
        re[p + 3] = b - tRe;
        im[p + 3] = -tIm;
    }

    // Vector-wide runs of groups: the samples of neighbouring groups are neighbours in the
    // window, their bins are not, so the results are transposed into place.
    template <int W>
    VLX_INLINE void Run(const double* w, const int* bitReverse, double* re, double* im, int points) const {
        const int quarter = points / 4;
        if (quarter < W) {
            for (int i = 0; i < quarter; ++i)
                Group(w[i], w[i + 2 * quarter], w[i + quarter], w[i + 3 * quarter], re, im, bitReverse[i]);
            return;
        }
        for (int i = 0; i < quarter; i += W) {
            typename Lanes<W>::Vector x0, x1, x2, x3;
            Load<W>(x0, w + i);
            Load<W>(x1, w + i + 2 * quarter);
            Load<W>(x2, w + i + quarter);
            Load<W>(x3, w + i + 3 * quarter);
            const auto a = x0 + x1, b = x0 - x1;
            const auto c = x2 + x3, d = x2 - x3;
            const auto tRe = u2Re * d, tIm = u2Im * d;
            const typename Lanes<W>::Vector zero{};
            StoreLanes<W>(a + c, b + tRe, a - c, b - tRe, bitReverse + i, re);
            StoreLanes<W>(zero, tIm, zero, -tIm, bitReverse + i, im);
        }
    }
};

// One level: blocks of 2·step bins, vector-wide runs of neighbouring butterflies. A level's
// twiddle table starts at its step, 2^(l−1).
template <int W>
VLX_INLINE void OneLevel(double* re, double* im, const double* twRe, const double* twIm, int points, int step) {
    for (int block = 0; block < points; block += 2 * step) {
        double* const ar = re + block;
        double* const ai = im + block;
        double* const br = ar + step;
        double* const bi = ai + step;
        for (int j = 0; j < step; j += W) {
            typename Lanes<W>::Vector aRe, aIm, bRe, bIm;
            Load<W>(aRe, ar + j);
            Load<W>(aIm, ai + j);
            Load<W>(bRe, br + j);
            Load<W>(bIm, bi + j);
            Butterfly<W>(aRe, aIm, bRe, bIm, twRe + step + j, twIm + step + j);
            Store<W>(ar + j, aRe);
            Store<W>(ai + j, aIm);
            Store<W>(br + j, bRe);
            Store<W>(bi + j, bIm);
        }
    }
}

// Two levels in one pass: a level with `step` and the next with 2·step. In a block of
// 4·step bins, bins j, j + s, j + 2s and j + 3s (s = step) meet in four butterflies: two of
// the first level, (j, j + s) and (j + 2s, j + 3s), both with its twiddle j, then two of
// the second, (j, j + 2s) with its twiddle j and (j + s, j + 3s) with its twiddle j + s.
template <int W>
VLX_INLINE void TwoLevels(double* re, double* im, const double* twRe, const double* twIm, int points, int step) {
    const double* ur = twRe + step;
    const double* ui = twIm + step;
    const double* vr = twRe + 2 * step;
    const double* vi = twIm + 2 * step;
    for (int block = 0; block < points; block += 4 * step) {
        double* const r0 = re + block;
        double* const i0 = im + block;
        double* const r1 = r0 + step;
        double* const i1 = i0 + step;
        double* const r2 = r1 + step;
        double* const i2 = i1 + step;
        double* const r3 = r2 + step;
        double* const i3 = i2 + step;
        for (int j = 0; j < step; j += W) {
            typename Lanes<W>::Vector x0r, x0i, x1r, x1i, x2r, x2i, x3r, x3i;
            Load<W>(x0r, r0 + j);
            Load<W>(x0i, i0 + j);
            Load<W>(x1r, r1 + j);
            Load<W>(x1i, i1 + j);
            Load<W>(x2r, r2 + j);
            Load<W>(x2i, i2 + j);
            Load<W>(x3r, r3 + j);
            Load<W>(x3i, i3 + j);
            Butterfly<W>(x0r, x0i, x1r, x1i, ur + j, ui + j);
            Butterfly<W>(x2r, x2i, x3r, x3i, ur + j, ui + j);
            Butterfly<W>(x0r, x0i, x2r, x2i, vr + j, vi + j);
            Butterfly<W>(x1r, x1i, x3r, x3i, vr + j + step, vi + j + step);
            Store<W>(r0 + j, x0r);
            Store<W>(i0 + j, x0i);
            Store<W>(r1 + j, x1r);
            Store<W>(i1 + j, x1i);
            Store<W>(r2 + j, x2r);
            Store<W>(i2 + j, x2i);
            Store<W>(r3 + j, x3r);
            Store<W>(i3 + j, x3i);
        }
    }
}

// The whole transform of `w` into re/im. Levels from 3 on have steps of 4 and more, whole
// vectors.
template <int W>
VLX_INLINE void TransformWith(const double* w, const int* bitReverse, double* re, double* im, const double* twRe,
                              const double* twIm, int points, int levels) {
    Levels12{twRe[3], twIm[3]}.Run<W>(w, bitReverse, re, im, points);
    int level = 3, step = 4;
    for (; level + 1 <= levels; level += 2, step *= 4) TwoLevels<W>(re, im, twRe, twIm, points, step);
    if (level == levels) OneLevel<W>(re, im, twRe, twIm, points, step);
}

void TransformBaseline(const double* w, const int* bitReverse, double* re, double* im, const double* twRe,
                       const double* twIm, int points, int levels) {
    TransformWith<2>(w, bitReverse, re, im, twRe, twIm, points, levels);
}

#ifdef VLX_X86_VECTORS
__attribute__((target("avx2"))) void TransformAvx2(const double* w, const int* bitReverse, double* re, double* im,
                                                    const double* twRe, const double* twIm, int points, int levels) {
    TransformWith<4>(w, bitReverse, re, im, twRe, twIm, points, levels);
}
#endif

// value = √(re² + im²) / normaliser / divisor per bin. Dividing by a power of two and
// multiplying by its reciprocal give the same double, so a normaliser that is one (32 for
// 1024 points) is applied as a product.
struct BandValueScale {
    double normaliser, reciprocal, divisor;
    bool byProduct;

    double One(double re, double im) const {
        const double magnitude = std::sqrt(re * re + im * im);
        return (byProduct ? magnitude * reciprocal : magnitude / normaliser) / divisor;
    }
};

void BandValuesScalar(const double* re, const double* im, int count, const BandValueScale& s, double* out) {
    for (int k = 0; k < count; ++k) out[k] = s.One(re[k], im[k]);
}

#ifdef VLX_X86_VECTORS
void BandValuesSse2(const double* re, const double* im, int count, const BandValueScale& s, double* out) {
    int k = 0;
    if (s.byProduct) {
        const __m128d reciprocal = _mm_set1_pd(s.reciprocal), divisor = _mm_set1_pd(s.divisor);
        for (; k + 2 <= count; k += 2) {
            const __m128d r = _mm_loadu_pd(re + k), i = _mm_loadu_pd(im + k);
            const __m128d magnitude = _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(r, r), _mm_mul_pd(i, i)));
            _mm_storeu_pd(out + k, _mm_div_pd(_mm_mul_pd(magnitude, reciprocal), divisor));
        }
    }
    BandValuesScalar(re + k, im + k, count - k, s, out + k);
}

__attribute__((target("avx2"))) void BandValuesAvx2(const double* re, const double* im, int count,
                                                     const BandValueScale& s, double* out) {
    int k = 0;
    if (s.byProduct) {
        const __m256d reciprocal = _mm256_set1_pd(s.reciprocal), divisor = _mm256_set1_pd(s.divisor);
        for (; k + 4 <= count; k += 4) {
            const __m256d r = _mm256_loadu_pd(re + k), i = _mm256_loadu_pd(im + k);
            const __m256d magnitude = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(r, r), _mm256_mul_pd(i, i)));
            _mm256_storeu_pd(out + k, _mm256_div_pd(_mm256_mul_pd(magnitude, reciprocal), divisor));
        }
    }
    BandValuesScalar(re + k, im + k, count - k, s, out + k);
}
#endif

}  // namespace

// ---- Transform -----------------------------------------------------------------------------

SpectrumTransform::SpectrumTransform(int points, int sampleRate)
    : points(points), sampleRate(sampleRate), levels(0), normaliser(std::sqrt(static_cast<double>(points))),
      window(points, 0.0), bitReverse(points) {
    for (int rest = points - 1; rest != 0; rest >>= 1) ++levels;

    // The bit-reversal permutation, counting backwards in reversed binary.
    int rev = 0;
    const int half = points / 2;
    for (int i = 0; i < points - 1; ++i) {
        bitReverse[i] = rev;
        int mask = half;
        while (rev >= mask) {
            rev -= mask;
            mask /= 2;
        }
        rev += mask;
    }
    bitReverse[points - 1] = points - 1;

    // One block, 64-byte aligned: bins (real, imaginary), twiddles (real, imaginary).
    constexpr std::size_t kAlign = 64 / sizeof(double);
    const std::size_t part = (static_cast<std::size_t>(points) + kAlign - 1) / kAlign * kAlign;
    storage.assign(4 * part + kAlign, 0.0);
    double* base = storage.data();
    base += (kAlign - reinterpret_cast<std::uintptr_t>(base) / sizeof(double) % kAlign) % kAlign;
    binRe = base;
    binIm = base + part;
    twiddleRe = base + 2 * part;
    twiddleIm = base + 3 * part;

    // Level l (length L = 2^l) keeps entries 0 .. L/2 − 1 of cos(2πi/L) − j·sin(2πi/L), at
    // offset L/2.
    const double pi = 2.0 * std::asin(1.0);
    for (int level = 1; level <= levels; ++level) {
        const int length = 1 << level;
        for (int i = 0; i < length / 2; ++i) {
            const double angle = 2.0 * pi * i / length;
            twiddleRe[length / 2 + i] = std::cos(angle);
            twiddleIm[length / 2 + i] = -std::sin(angle);
        }
    }

#ifdef VLX_X86_VECTORS
    __builtin_cpu_init();   // in case this runs before the static constructors
    avx2 = __builtin_cpu_supports("avx2");
#endif
}

void SpectrumTransform::UseBaselineInstructions() {
    avx2 = false;
}

void SpectrumTransform::CopyIn(SampleCursor& cursor) {
    const int n = cursor.count;
    if (n > points) return;
    std::memmove(window.data(), window.data() + n, static_cast<std::size_t>(points - n) * sizeof(double));
    double* fresh = window.data() + (points - n);
    for (int k = 0; k < n; ++k) fresh[k] = static_cast<double>(cursor.Next());

#ifdef VLX_X86_VECTORS
    if (avx2) {
        TransformAvx2(window.data(), bitReverse.data(), binRe, binIm, twiddleRe, twiddleIm, points, levels);
        return;
    }
#endif
    TransformBaseline(window.data(), bitReverse.data(), binRe, binIm, twiddleRe, twiddleIm, points, levels);
}

void SpectrumTransform::BandValues(int first, int count, double divisor, double* values) const {
    int exponent;
    const bool powerOfTwo = std::frexp(normaliser, &exponent) == 0.5;
    const BandValueScale scale{normaliser, 1.0 / normaliser, divisor, powerOfTwo};
#ifdef VLX_X86_VECTORS
    if (avx2) return BandValuesAvx2(binRe + first, binIm + first, count, scale, values);
    return BandValuesSse2(binRe + first, binIm + first, count, scale, values);
#else
    BandValuesScalar(binRe + first, binIm + first, count, scale, values);
#endif
}

// ---- Band analysis -------------------------------------------------------------------------

namespace {

// Peak hold with fall: a louder sum takes the channel (held at 255 when the sum does not fit
// in the byte), a quieter one lets it fall by `fall`, down to no lower than `fall`.
BYTE Hold(std::uint32_t sum, BYTE current, int fall) {
    if (sum > current) return static_cast<BYTE>(std::min<std::uint32_t>(sum, 255));
    if (current > fall) return static_cast<BYTE>(current - fall);
    return current;
}

// The sum of one band over bins first .. end − 1: each bin whose value is above 0 adds its
// value plus the band's offset, truncated toward zero to a 32-bit integer.
std::uint32_t BandSum(const double* values, int first, int end, double offset) {
    std::uint32_t sum = 0;
    for (int k = first; k < end; ++k) {
        const double v = values[k];
        if (v > 0.0) sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(offset + v));
    }
    return sum;
}

}  // namespace

void Analyse(std::uint32_t bandSums[3], const SpectrumTransform& transform) {
    bandSums[0] = bandSums[1] = bandSums[2] = 0;

    const int end = std::min(binEnd, transform.points);
    if (end > 2) {
        double values[binEnd];   // values[k] for bin k, from 2 on
        transform.BandValues(2, end - 2, bandDivisor.load(std::memory_order_relaxed), values + 2);
        bandSums[0] = BandSum(values, 2, std::min(redEnd, end), bandOffset[0].load(std::memory_order_relaxed));
        bandSums[1] = BandSum(values, redEnd, std::min(greenEnd, end), bandOffset[1].load(std::memory_order_relaxed));
        bandSums[2] = BandSum(values, greenEnd, end, bandOffset[2].load(std::memory_order_relaxed));
    }

    if (swapRedBlue.load(std::memory_order_relaxed)) std::swap(bandSums[0], bandSums[2]);

    static constexpr int kFall[3] = {3, 2, 1};   // red fades fastest, blue slowest
    int total = 0;
    for (int c = 0; c < 3; ++c) {
        const BYTE next = Hold(bandSums[c], soundColor[c].load(std::memory_order_relaxed), kFall[c]);
        soundColor[c].store(next, std::memory_order_relaxed);
        total += next;
    }
    bandDivisor.store(static_cast<float>(4 * total + gainBase.load(std::memory_order_relaxed) + 512),
                      std::memory_order_relaxed);
}
