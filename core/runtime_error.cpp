// Storing a runtime error code with its line, and the two ways programs end on purpose.
#include "core/runtime_error.h"

#include "core/runtime_globals.h"

void SetRuntimeError(f32 code) {
  errorCode = code;
  errorLine = currentLine;
}

void SetLinePosition(i32 position, i32 line) {
  currentPosition = static_cast<f32>(position);
  currentLine = static_cast<f32>(line);
}

void EndCommand() {
  SetRuntimeError(kErrRegularEnd);
  EndProgram();
}

void FatalError(f32 code) {
  SetRuntimeError(code);
  EndProgram();
}
