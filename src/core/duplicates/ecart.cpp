#include "ecart.h"

#include <atomic>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MIRASOLVE_AVX2 1
#include <immintrin.h>
#endif

namespace {

int32_t EcartPortable(const uint8_t* a, const uint8_t* b) {
    int32_t total = 0;
    for (std::size_t k = 0; k < 100; ++k) {
        const int32_t d = int32_t{a[k]} - int32_t{b[k]};
        total += d * d;
    }
    return total;
}

void EcartsPortables(const uint8_t* grille, const uint8_t* grilles, std::size_t n, int32_t seuil,
                     std::vector<uint32_t>& proches) {
    for (std::size_t i = 0; i < n; ++i)
        if (EcartPortable(grille, grilles + 100 * i) < seuil) proches.push_back(static_cast<uint32_t>(i));
}

#ifdef MIRASOLVE_AVX2

// 100 bytes as seven vectors of 16 cells widened to 16 bits: six at 0, 16 .. 80, and the last
// at 84, whose first 12 cells (already counted at 80) are masked out.
struct GrilleLarge {
    __m256i parties[7];
};

__attribute__((target("avx2"))) inline __m256i Partie(const uint8_t* g, int k) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(g + (k < 6 ? 16 * k : 84))));
}

__attribute__((target("avx2"))) inline __m256i MasqueFin() {
    return _mm256_setr_epi16(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, -1, -1);
}

__attribute__((target("avx2"))) inline GrilleLarge Elargit(const uint8_t* g) {
    GrilleLarge large;
    for (int k = 0; k < 6; ++k)
        large.parties[k] = Partie(g, k);
    large.parties[6] = _mm256_and_si256(Partie(g, 6), MasqueFin());
    return large;
}

__attribute__((target("avx2"))) inline int32_t EcartLarge(const GrilleLarge& a, const uint8_t* b) {
    __m256i somme = _mm256_setzero_si256();
    for (int k = 0; k < 6; ++k) {
        const __m256i d = _mm256_sub_epi16(Partie(b, k), a.parties[k]);
        somme = _mm256_add_epi32(somme, _mm256_madd_epi16(d, d));
    }
    const __m256i d = _mm256_sub_epi16(_mm256_and_si256(Partie(b, 6), MasqueFin()), a.parties[6]);
    somme = _mm256_add_epi32(somme, _mm256_madd_epi16(d, d));
    __m128i s = _mm_add_epi32(_mm256_castsi256_si128(somme), _mm256_extracti128_si256(somme, 1));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4E));
    s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xB1));
    return _mm_cvtsi128_si32(s);
}

__attribute__((target("avx2"))) int32_t EcartAvx2(const uint8_t* a, const uint8_t* b) {
    return EcartLarge(Elargit(a), b);
}

__attribute__((target("avx2"))) void EcartsAvx2(const uint8_t* grille, const uint8_t* grilles, std::size_t n,
                                                int32_t seuil, std::vector<uint32_t>& proches) {
    const GrilleLarge large = Elargit(grille);
    for (std::size_t i = 0; i < n; ++i)
        if (EcartLarge(large, grilles + 100 * i) < seuil) proches.push_back(static_cast<uint32_t>(i));
}

#endif

std::atomic<bool> portableForce{false};

bool Avx2() {
#ifdef MIRASOLVE_AVX2
    static const bool disponible = __builtin_cpu_supports("avx2");
    return disponible && !portableForce.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

} // namespace

int32_t EcartGrilles(const uint8_t* a, const uint8_t* b) {
#ifdef MIRASOLVE_AVX2
    if (Avx2()) return EcartAvx2(a, b);
#endif
    return EcartPortable(a, b);
}

void EcartsSousLeSeuil(const uint8_t* grille, const uint8_t* grilles, std::size_t n, int32_t seuil,
                       std::vector<uint32_t>& proches) {
#ifdef MIRASOLVE_AVX2
    if (Avx2()) return EcartsAvx2(grille, grilles, n, seuil, proches);
#endif
    EcartsPortables(grille, grilles, n, seuil, proches);
}

const char* FormeEcart() {
    return Avx2() ? "avx2" : "portable";
}

void ForceEcartPortable(bool forcePortable) {
    portableForce = forcePortable;
}
