// Waiting for input. PumpInputEvents is one bounded wait (at most 15 passes) that returns as soon
// as any key, pointer change, joystick button or direction shows; WaitForKey and
// WaitForMouseClick block until a key is typed or a pointer button goes down. A quit request
// ends the program without storing an error code.
#pragma once

void PumpInputEvents();
void WaitForKey();
void WaitForMouseClick();
