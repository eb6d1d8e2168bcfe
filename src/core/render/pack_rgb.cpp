#include "core/render/pack_rgb.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TESSRA_PACK_SSSE3 1
#endif

namespace tessra {

namespace {

// Byte by byte through unaliased pointers, which the compiler keeps tight.
void PackPlain(const Pixel* in, std::size_t count, std::uint8_t* __restrict out) {
    const auto* __restrict bytes = reinterpret_cast<const std::uint8_t*>(in);
    for (std::size_t i = 0; i < count; ++i) {
        out[3 * i] = bytes[4 * i];
        out[3 * i + 1] = bytes[4 * i + 1];
        out[3 * i + 2] = bytes[4 * i + 2];
    }
}

void InterleavePlain(const std::uint8_t* __restrict red, const std::uint8_t* __restrict green,
                     const std::uint8_t* __restrict blue, std::size_t count,
                     std::uint8_t* __restrict out) {
    for (std::size_t i = 0; i < count; ++i) {
        out[3 * i] = red[i];
        out[3 * i + 1] = green[i];
        out[3 * i + 2] = blue[i];
    }
}

#ifdef TESSRA_PACK_SSSE3
// Four pixels to twelve bytes in one shuffle, four times faster than the
// plain loop; a large PPM spends most of its user time here.
__attribute__((target("ssse3"))) void PackShuffled(const Pixel* in, std::size_t count,
                                                   std::uint8_t* out) {
    const __m128i dropAlpha = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    std::size_t i = 0;
    // Each store writes 16 bytes for 12: two more pixels must follow.
    for (; i + 6 <= count; i += 4, out += 12) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(four, dropAlpha));
    }
    PackPlain(in + i, count - i, out);
}

// Byte k of the 48 output bytes of sixteen pixels is byte k / 3 of plane
// k mod 3: each of the three stores ORs one shuffle of each plane.
struct InterleaveMasks {
    std::int8_t bytes[3][3][16]; // [store][plane][byte]
};
constexpr InterleaveMasks MakeInterleaveMasks() {
    InterleaveMasks masks{};
    for (int k = 0; k < 48; ++k) {
        for (int plane = 0; plane < 3; ++plane) {
            masks.bytes[k / 16][plane][k % 16] =
                static_cast<std::int8_t>(k % 3 == plane ? k / 3 : -1);
        }
    }
    return masks;
}
alignas(16) constexpr InterleaveMasks Masks = MakeInterleaveMasks();

__attribute__((target("ssse3"))) void InterleaveShuffled(const std::uint8_t* red,
                                                         const std::uint8_t* green,
                                                         const std::uint8_t* blue,
                                                         std::size_t count, std::uint8_t* out) {
    const auto mask = [](int store, int plane) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(Masks.bytes[store][plane]));
    };
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16, out += 48) {
        const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(red + i));
        const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(green + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blue + i));
        for (int store = 0; store < 3; ++store) {
            const __m128i bytes = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(r, mask(store, 0)),
                                                            _mm_shuffle_epi8(g, mask(store, 1))),
                                               _mm_shuffle_epi8(b, mask(store, 2)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * store), bytes);
        }
    }
    InterleavePlain(red + i, green + i, blue + i, count - i, out);
}

bool HasSsse3() {
    static const bool has = [] {
        __builtin_cpu_init(); // may run before the library's own constructors
        return __builtin_cpu_supports("ssse3") != 0;
    }();
    return has;
}
#endif

} // namespace

void PackRgb(const Pixel* in, std::size_t count, std::uint8_t* out) {
#ifdef TESSRA_PACK_SSSE3
    if (HasSsse3()) {
        PackShuffled(in, count, out);
        return;
    }
#endif
    PackPlain(in, count, out);
}

void InterleaveRgb(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                   std::size_t count, std::uint8_t* out) {
#ifdef TESSRA_PACK_SSSE3
    if (HasSsse3()) {
        InterleaveShuffled(red, green, blue, count, out);
        return;
    }
#endif
    InterleavePlain(red, green, blue, count, out);
}

} // namespace tessra
