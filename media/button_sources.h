// Where the button word comes from. On the handheld it is the button device "/dev/GPIO"; a
// machine without that device uses a stand-in that builds the same word, so that everything
// above the word (decoding, key codes, typed characters, the quit combination) works unchanged:
//   - the device itself (GpioButtonSource), with the device's messages;
//   - the desktop keyboard (KeyboardButtonSource, keyboard_standin.h), used when the device is
//     absent and a real video driver shows a window;
//   - a script of words, one per frame (ScriptedButtonSource), for tests.
// The environment variable STAKKO_BUTTONS forces a choice: "gpio" or "keyboard".
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/types.h"

class ButtonSource {
 public:
  virtual ~ButtonSource() = default;
  // One read of the button word. A read that delivers part of a word keeps what arrived in the
  // low bytes; nothing read gives 0.
  virtual u32 ReadWord() = 0;
  // Called by the frame step once per frame.
  virtual void NextFrame() {}
  // A source that types characters of its own hands the next one here; false leaves typing to
  // the key-code table over the button word.
  virtual bool TakeTypedChar(u8& c) {
    (void)c;
    return false;
  }
};

// The handheld's button device: one little-endian word per read from a descriptor opened
// read-write and non-blocking. A read that brings fewer than four bytes prints "GPIO READ ERROR".
class GpioButtonSource : public ButtonSource {
 public:
  // Takes ownership of fd; -1 stands for a device that did not open (every read then fails).
  explicit GpioButtonSource(int fd) : fd_(fd) {}
  ~GpioButtonSource() override;
  GpioButtonSource(const GpioButtonSource&) = delete;
  GpioButtonSource& operator=(const GpioButtonSource&) = delete;

  // Opens the device at path; the descriptor or -1.
  static int OpenDevice(const std::string& path);
  u32 ReadWord() override;

 private:
  int fd_;
};

// A script for tests: word k is read during frame k (the last word stays once the script ends,
// an empty script reads 0), and a queue of characters typed one per query.
class ScriptedButtonSource : public ButtonSource {
 public:
  explicit ScriptedButtonSource(std::vector<u32> words = {}, std::string typed = {});
  u32 ReadWord() override;
  void NextFrame() override { ++frame_; }
  bool TakeTypedChar(u8& c) override;

  std::vector<u32> words;
  std::deque<u8> typed;
  std::size_t reads = 0;  // how often the word was read

 private:
  std::size_t frame_ = 0;
};

enum class ButtonSourceKind { kDevice, kKeyboard };

// The choice: a forced kind ("gpio" or "keyboard" in the override); otherwise the device when it
// opened; otherwise the keyboard when a video driver other than "dummy" runs; otherwise the
// absent device, which reads nothing.
ButtonSourceKind ChooseButtonSourceKind(const char* override, bool deviceOpened,
                                        const char* videoDriver);

// Opens the button source for this machine (the device path comes from the platform seam).
// When the device is tried and does not open, prints "GPIO device not present" (no newline).
std::unique_ptr<ButtonSource> OpenButtonSource();
