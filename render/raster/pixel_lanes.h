// The pixel rules of pixel_rules.h for eight neighbouring pixels at once, the form the triangle
// and span drawers fill their rows with. Each varying is held as its high and low 16-bit halves in
// eight lanes: the rules only need bits 16 to 31 of the colour products before their final shifts
// and the low 16 bits of u and v, and SSE2 multiplies, compares and packs 16-bit lanes eight at a
// time. The depth, of which only z >> 16 counts, is held whole in two sets of four 32-bit lanes.
// The results are bit for bit those of the single-pixel rules (tests/render/pixel_lanes_test.cpp
// checks every configuration against them).
//
// Written with GCC vector extensions, so any target compiles the same arithmetic; two operations
// SSE2 has and the extensions lack take the intrinsic there and a plain form elsewhere.
#pragma once

#include <cstring>

#include "core/types.h"
#include "render/raster/pixel_rules.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

constexpr i32 kGroup = 8;  // pixels per group

using Words = u16 __attribute__((vector_size(2 * kGroup)));
using SignedWords = i16 __attribute__((vector_size(2 * kGroup)));

// w as computed, kept whole: GCC would otherwise rebuild a loop-invariant broadcast from its
// scalar inside the loops that use it (three instructions at every use) rather than keep the
// vector in a register or on the stack.
STAKKO_ALWAYS_INLINE Words Kept(Words w) {
#ifdef __SSE2__
  asm("" : "+x"(w));
#endif
  return w;
}

// Eight 32-bit values as their high and low halves.
struct Halves {
  Words hi;
  Words lo;
};

namespace lanes_detail {

using WideWords = u32 __attribute__((vector_size(4 * kGroup)));

constexpr Words kIota = {0, 1, 2, 3, 4, 5, 6, 7};

STAKKO_ALWAYS_INLINE Words Broadcast(u32 x) { return Words{} + static_cast<u16>(x); }

// Bits 16 to 31 of each lane's product.
STAKKO_ALWAYS_INLINE Words MulHigh(Words a, Words b) {
#ifdef __SSE2__
  return (Words)_mm_mulhi_epu16((__m128i)a, (__m128i)b);
#else
  const WideWords p = __builtin_convertvector(a, WideWords) * __builtin_convertvector(b, WideWords);
  return __builtin_convertvector(p >> 16, Words);
#endif
}

// Bits 16 to 31 of x times c, modulo 2^32, for a 32-bit x and a 16-bit c: the high half of
// x.lo x c plus the low half of x.hi x c.
STAKKO_ALWAYS_INLINE Words HighProduct(const Halves& x, Words c) {
  return x.hi * c + MulHigh(x.lo, c);
}

STAKKO_ALWAYS_INLINE Words Load(const void* p) {
  Words w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
STAKKO_ALWAYS_INLINE void Store(void* p, Words w) { std::memcpy(p, &w, sizeof w); }

// Bits 16 to 31 of a colour factor times c, a factor below 0 counted as 0 (its sign is the high
// half's, and 0 times c is 0); kNonNegative: the caller knows no factor is below 0.
template <bool kNonNegative>
STAKKO_ALWAYS_INLINE Words FactorProduct(const Halves& v, Words c) {
  if constexpr (kNonNegative) return HighProduct(v, c);
  return HighProduct(v, c) & ~(Words)((SignedWords)v.hi >> 15);
}

// The light's integer part clamped to 0..255.
STAKKO_ALWAYS_INLINE Words Light(const Halves& light) {
  SignedWords l = (SignedWords)light.hi;
  l = l < 0 ? 0 : l;
  return (Words)(l > 255 ? 255 : l);
}

// 16-bit channels scaled by an 8-bit light (255 full) into RGB565; the products have 24 bits,
// so their shifted fields are put together from both halves.
STAKKO_ALWAYS_INLINE Words Lit565(Words l, Words r, Words g, Words b) {
  const Words redLow = l * r, greenLow = l * g, greenHigh = MulHigh(l, g), blueLow = l * b,
              blueHigh = MulHigh(l, b);
  return (redLow & 0xF800) + (((greenLow >> 5) | (greenHigh << 11)) & 0xFFE0) +
         ((blueLow >> 11) | (blueHigh << 5));
}

// The colour factors times the 8-bit channels r8, g8 and b8, lit when the configuration is, as
// 565 pixels.
template <class S, bool kNonNegative>
STAKKO_ALWAYS_INLINE Words ColourTimes(const Halves* v, Words r8, Words g8, Words b8) {
  const Words r = FactorProduct<kNonNegative>(v[S::kColourAt], r8),
              g = FactorProduct<kNonNegative>(v[S::kColourAt + 1], g8),
              b = FactorProduct<kNonNegative>(v[S::kColourAt + 2], b8);
  if constexpr (S::kLight) {
    return Lit565(Light(v[S::kLightAt]), r, g, b);
  } else {
    return ((r >> 3) << 11) + ((g >> 2) << 5) + (b >> 3);
  }
}

// The colour of a configuration without texture.
template <class S, bool kNonNegative>
STAKKO_ALWAYS_INLINE Words Untextured(const Halves* v) {
  if constexpr (S::kColour) {
    // A multiplication (one instruction) rather than the shift and subtraction GCC would make.
    const Words k255 = Kept(Broadcast(255));
    return ColourTimes<S, kNonNegative>(v, k255, k255, k255);
  } else if constexpr (S::kLight) {
    const Words c = Light(v[S::kLightAt]) * 255;
    return ((c >> 11) << 11) + ((c >> 10) << 5) + (c >> 11);
  } else {
    return Broadcast(0xFFFF);
  }
}

// Texels as the configuration shades them.
template <class S, bool kNonNegative>
STAKKO_ALWAYS_INLINE Words Textured(Words t, const Halves* v) {
  if constexpr (S::kColour) {
    return ColourTimes<S, kNonNegative>(v, (t >> 11) << 3, ((t >> 5) & 63) << 2, (t & 31) << 3);
  } else {
    return t;  // texture, and texture + light
  }
}

}  // namespace lanes_detail

// A 32-bit addend for AddHalves, kept with 1 added to its high halves, which saves that addition
// on every use.
struct Addend {
  Halves value;
};

// a + b on each lane's 32-bit value, the carry out of the low halves taken into the high ones;
// without kHigh only the low halves are added (the high ones are left as they are).
template <bool kHigh = true>
STAKKO_ALWAYS_INLINE Halves AddHalves(const Halves& a, const Addend& b) {
  const Words lo = a.lo + b.value.lo;
  if constexpr (!kHigh) return {a.hi, lo};
  const Words noCarry = (Words)(lo >= a.lo);  // all ones (-1), or 0 where the low halves carried
  return {a.hi + b.value.hi + noCarry, lo};
}

// Whether the group rules of S read the high halves of varying k: all but u and v, of which only
// the fraction counts. The lanes of u and v skip their high halves altogether.
template <class S>
constexpr bool ReadsHighHalves(i32 k) {
  return !(S::kTexture && k < 2);
}

// A value that changes by a fixed step per pixel, spread over a group: lane i's offset from the
// group's first pixel (i x step), and a whole group's advance (8 x step). Without kHigh, only the
// low halves are made.
struct LaneStep {
  Addend offset{};
  Addend group{};

  template <bool kHigh = true>
  STAKKO_ALWAYS_INLINE void Set(i32 step) {
    using lanes_detail::Broadcast;
    using lanes_detail::kIota;
    const u32 s = static_cast<u32>(step), g = s * kGroup;
    const Words low = Broadcast(s);
    offset.value.lo = Kept(kIota * low);
    group.value.lo = Kept(low << 3);  // the low half of 8 x step
    if constexpr (kHigh) {
      offset.value.hi = Kept(kIota * Broadcast(s >> 16) + lanes_detail::MulHigh(kIota, low) + 1);
      group.value.hi = Kept(Broadcast(g >> 16) + 1);
    }
  }
  // The lanes of a group whose first pixel has the value `first`.
  template <bool kHigh = true>
  STAKKO_ALWAYS_INLINE Halves Start(i32 first) const {
    const u32 f = static_cast<u32>(first);
    const Halves start = {kHigh ? lanes_detail::Broadcast(f >> 16) : Words{},
                          lanes_detail::Broadcast(f)};
    return AddHalves<kHigh>(start, offset);
  }
};

// The depths of a group as whole 32-bit values, pixels 0-3 and 4-7: they change by one step per
// pixel for the whole run, and only z >> 16 is read, so plain 32-bit lanes are set up with fewer
// instructions than halves.
using Lanes = i32 __attribute__((vector_size(16)));
struct DepthLanes {
  Lanes low, high;

  // z >> 16 of each pixel; exact in 16 bits, so the saturating pack keeps it.
  STAKKO_ALWAYS_INLINE Words High() const {
#ifdef __SSE2__
    return (Words)_mm_packs_epi32((__m128i)(low >> 16), (__m128i)(high >> 16));
#else
    return (Words) __builtin_convertvector(
        __builtin_shufflevector(low >> 16, high >> 16, 0, 1, 2, 3, 4, 5, 6, 7), SignedWords);
#endif
  }
};

// The depth's step over a group: the four lanes' offsets (i x step) and a whole group's advance.
struct DepthStep {
  Lanes offset{};
  Lanes group{};

  STAKKO_ALWAYS_INLINE void Set(i32 step) {
    const u32 s = static_cast<u32>(step);
    offset = (Lanes)(__attribute__((vector_size(16))) u32){0, s, s + s, s + s + s};
    group = (Lanes){} + static_cast<i32>(s * 4);
  }
  // The lanes of a group whose first pixel has depth `first`.
  STAKKO_ALWAYS_INLINE DepthLanes Start(i32 first) const {
    const Lanes low = (Lanes)((UnsignedLanesOf)((Lanes){} + first) + (UnsignedLanesOf)offset);
    return {low, (Lanes)((UnsignedLanesOf)low + (UnsignedLanesOf)group)};
  }
  STAKKO_ALWAYS_INLINE DepthLanes Advance(const DepthLanes& z) const {
    const UnsignedLanesOf twice = (UnsignedLanesOf)group + (UnsignedLanesOf)group;
    return {(Lanes)((UnsignedLanesOf)z.low + twice), (Lanes)((UnsignedLanesOf)z.high + twice)};
  }

 private:
  using UnsignedLanesOf = u32 __attribute__((vector_size(16)));
};

// What the group form of the rules reads of the texture and colour key, as lanes, made once per
// primitive.
struct GroupSource {
  const u16* texels = nullptr;
  Words widthLess1{}, heightLess1{}, width{};
  Words key{}, keyEnabled{};

  template <class S>
  STAKKO_ALWAYS_INLINE void Load(const PixelSource& src) {
    if constexpr (S::kTexture) {
      using lanes_detail::Broadcast;
      texels = src.texels;
      widthLess1 = Kept(Broadcast(src.widthLess1));
      heightLess1 = Kept(Broadcast(src.heightLess1));
      width = Kept(Broadcast(src.width));
      key = Kept(Broadcast(src.key));
      keyEnabled = Kept(Broadcast(src.key <= 0xFFFF ? 0xFFFF : 0));
    }
  }
  // False when the configuration's group form cannot draw with this source: a texture larger
  // than 65536 texels, whose indices do not fit the lanes.
  template <class S>
  static bool Fits(const PixelSource& src) {
    return !S::kTexture || u64{src.width} * (src.heightLess1 + 1) <= 0x10000;
  }

  // The texels at the lanes' u and v (their fractions).
  STAKKO_ALWAYS_INLINE Words FetchTexels(Words u, Words v) const {
    const Words column = lanes_detail::MulHigh(u, widthLess1);
    const Words row = heightLess1 - lanes_detail::MulHigh(v, heightLess1);
    const Words index = row * width + column;
    return Words{texels[index[0]], texels[index[1]], texels[index[2]], texels[index[3]],
                 texels[index[4]], texels[index[5]], texels[index[6]], texels[index[7]]};
  }
};

// Eight pixels of configuration S from the given colour and depth elements on, with the lanes'
// depths and varyings: the rule of ShadePixel for each (kNonNegative: no colour factor is below 0).
template <class S, bool kNonNegative = false>
STAKKO_ALWAYS_INLINE void ShadeGroup(const GroupSource& src, u16* colour, i16* depth,
                                     const DepthLanes& z, const Halves* v) {
  using namespace lanes_detail;
  Words write = ~Words{};
  if constexpr (S::kDepth) {
    const SignedWords stored = (SignedWords)Load(depth), d = (SignedWords)z.High();
    const SignedWords fail = d > stored;
    Store(depth, (Words)(fail ? stored : d));
    write = (Words)~fail;
  }
  Words pixels;
  if constexpr (S::kTexture) {
    const Words t = src.FetchTexels(v[0].lo, v[1].lo);
    write &= ~((Words)(t == src.key) & src.keyEnabled);
    pixels = Textured<S, kNonNegative>(t, v);
  } else {
    pixels = Untextured<S, kNonNegative>(v);
  }
  if constexpr (S::kDepth || S::kTexture) {
    pixels = (pixels & write) | (Load(colour) & ~write);
  }
  Store(colour, pixels);
  (void)depth;
  (void)z;
}
