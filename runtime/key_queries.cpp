// Key queries over the input device.
#include "runtime/key_queries.h"

#include "core/runtime_globals.h"
#include "media/input_device.h"
#include "media/key_codes.h"

i32 IsKeyDown(i32 code) {
  if (inputDevice == nullptr) return 0;
  inputDevice->ReadButtons();
  JoyState state;
  DecodeButtons(*inputDevice, state, 0);
  return IsKeyCodeDown(state, code) ? 1 : 0;
}

DynString GetTypedKey() {
  if (inputDevice == nullptr) return DynString();
  const char c = static_cast<char>(inputDevice->ReadKeyChar());
  if (c == 0) return DynString();
  return DynString::FromBytes(&c, 1);
}
