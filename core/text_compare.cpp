// The comparison operator families over texts, numbers and integers. Each operator's sixteen
// overloads come from one definition (the macro below) over three comparison templates, so every
// operator reads its operands the same way.
#include "core/text_compare.h"

#include <cstring>
#include <functional>
#include <type_traits>

#include "core/text_functions.h"

namespace {

const char* View(const DynString& s) { return s.data; }
const char* View(const char* s) { return s; }

template <class Cmp, class A, class B>
i32 Texts(const A& a, const B& b) {
  if constexpr (std::is_same_v<A, DynString> && std::is_same_v<B, DynString> &&
                std::is_same_v<Cmp, std::equal_to<>>) {
    return DynStringEquals(a, b);
  } else {
    return Cmp{}(std::strcmp(View(a), View(b)), 0) ? 1 : 0;
  }
}

// A number against a text read as a number of the same precision (the text never carries more
// than single precision).
template <class Cmp, class N, class T>
i32 NumberLeft(N n, const T& text) {
  return Cmp{}(n, static_cast<N>(CStringToNumber(View(text)))) ? 1 : 0;
}
template <class Cmp, class T, class N>
i32 NumberRight(const T& text, N n) {
  return Cmp{}(static_cast<N>(CStringToNumber(View(text))), n) ? 1 : 0;
}

template <class Cmp, class T>
i32 IntLeft(i32 n, const T& text) {
  return Cmp{}(n, CStringToInt(View(text))) ? 1 : 0;
}
template <class Cmp, class T>
i32 IntRight(const T& text, i32 n) {
  return Cmp{}(CStringToInt(View(text)), n) ? 1 : 0;
}

}  // namespace

#define STAKKO_DEFINE_TEXT_COMPARISON(Op, Cmp)                                                   \
  i32 Op(const DynString& a, const DynString& b) { return Texts<Cmp>(a, b); }                   \
  i32 Op(const char* a, const char* b) { return Texts<Cmp>(a, b); }                             \
  i32 Op(const char* a, const DynString& b) { return Texts<Cmp>(a, b); }                        \
  i32 Op(const DynString& a, const char* b) { return Texts<Cmp>(a, b); }                        \
  i32 Op(f32 a, const DynString& b) { return NumberLeft<Cmp>(a, b); }                           \
  i32 Op(f32 a, const char* b) { return NumberLeft<Cmp>(a, b); }                                \
  i32 Op(f64 a, const DynString& b) { return NumberLeft<Cmp>(a, b); }                           \
  i32 Op(f64 a, const char* b) { return NumberLeft<Cmp>(a, b); }                                \
  i32 Op(const DynString& a, f32 b) { return NumberRight<Cmp>(a, b); }                          \
  i32 Op(const char* a, f32 b) { return NumberRight<Cmp>(a, b); }                               \
  i32 Op(const DynString& a, f64 b) { return NumberRight<Cmp>(a, b); }                          \
  i32 Op(const char* a, f64 b) { return NumberRight<Cmp>(a, b); }                               \
  i32 Op(i32 a, const DynString& b) { return IntLeft<Cmp>(a, b); }                              \
  i32 Op(i32 a, const char* b) { return IntLeft<Cmp>(a, b); }                                   \
  i32 Op(const DynString& a, i32 b) { return IntRight<Cmp>(a, b); }                             \
  i32 Op(const char* a, i32 b) { return IntRight<Cmp>(a, b); }

STAKKO_DEFINE_TEXT_COMPARISON(TextEq, std::equal_to<>)
STAKKO_DEFINE_TEXT_COMPARISON(TextNe, std::not_equal_to<>)
STAKKO_DEFINE_TEXT_COMPARISON(TextLt, std::less<>)
STAKKO_DEFINE_TEXT_COMPARISON(TextGt, std::greater<>)
STAKKO_DEFINE_TEXT_COMPARISON(TextLe, std::less_equal<>)
STAKKO_DEFINE_TEXT_COMPARISON(TextGe, std::greater_equal<>)

#undef STAKKO_DEFINE_TEXT_COMPARISON

i32 CompareTextsThreeWay(const DynString& a, const char* b) { return std::strcmp(a.data, b); }

i32 CompareNumberTextThreeWay(const DynString& text, const f32& n) {
  const f32 t = CStringToNumber(text.data);
  if (t < n) return -1;
  if (t > n) return 1;
  return 0;
}

i32 CompareIntTextThreeWay(const DynString& text, const i32& n) {
  const i32 t = CStringToInt(text.data);
  if (t < n) return -1;
  if (t > n) return 1;
  return 0;
}
