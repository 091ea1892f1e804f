// A scripted pointer for the pointer seam: one touch per read (the last one repeated, none when
// the script is empty) and a clock that moves only when the test moves it, or by a fixed step on
// every read; installed with a fresh script and sampling state for the scope of its holder.
#pragma once

#include <algorithm>
#include <vector>

#include "media/pointer.h"

struct Touch {
  i32 x = 0;
  i32 y = 0;
  u32 buttons = 1;
};

inline struct ScriptedPointer {
  std::vector<Touch> touches;
  std::size_t next = 0, reads = 0;
  u32 nowMs = 5000, stepPerClockReadMs = 0;
} scriptedPointer;

class ScopedScriptedPointer {
 public:
  explicit ScopedScriptedPointer(u32 stepPerClockReadMs = 0) {
    scriptedPointer = ScriptedPointer{};
    scriptedPointer.stepPerClockReadMs = stepPerClockReadMs;
    Pointer() = PointerOps{Read, Now};
    ResetPointerSamplingForTests();
  }
  ~ScopedScriptedPointer() {
    ResetPointerOps();
    ResetPointerSamplingForTests();
  }
  // Queues touches for the next read, one sample interval later.
  void Touches(std::vector<Touch> touches) {
    scriptedPointer.touches = std::move(touches);
    scriptedPointer.next = scriptedPointer.reads = 0;
    scriptedPointer.nowMs += 6;
  }

 private:
  static void Read(i32* x, i32* y, u32* buttons) {
    ScriptedPointer& p = scriptedPointer;
    ++p.reads;
    Touch t{0, 0, 0};
    if (!p.touches.empty()) t = p.touches[std::min(p.next, p.touches.size() - 1)];
    if (p.next < p.touches.size()) ++p.next;
    *x = t.x, *y = t.y, *buttons = t.buttons;
  }
  static u32 Now() {
    const u32 now = scriptedPointer.nowMs;
    scriptedPointer.nowMs += scriptedPointer.stepPerClockReadMs;
    return now;
  }
};
