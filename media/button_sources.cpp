// The button device, the scripted source and the choice between the sources.
#include "media/button_sources.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/byte_order.h"
#include "media/keyboard_standin.h"
#include "platform/platform_ops.h"

GpioButtonSource::~GpioButtonSource() {
  if (fd_ >= 0) close(fd_);
}

int GpioButtonSource::OpenDevice(const std::string& path) {
  return open(path.c_str(), O_RDWR | O_NONBLOCK);
}

u32 GpioButtonSource::ReadWord() {
  u8 bytes[4] = {0, 0, 0, 0};
  ssize_t count = -1;
  if (fd_ >= 0) {
    do {
      count = read(fd_, bytes, sizeof bytes);
    } while (count < 0 && errno == EINTR);
  }
  if (count < static_cast<ssize_t>(sizeof bytes)) std::puts("GPIO READ ERROR");
  return ReadLE32(bytes);
}

ScriptedButtonSource::ScriptedButtonSource(std::vector<u32> scriptWords, std::string typedChars)
    : words(std::move(scriptWords)), typed(typedChars.begin(), typedChars.end()) {}

u32 ScriptedButtonSource::ReadWord() {
  ++reads;
  if (words.empty()) return 0;
  return words[frame_ < words.size() ? frame_ : words.size() - 1];
}

bool ScriptedButtonSource::TakeTypedChar(u8& c) {
  if (typed.empty()) return false;
  c = typed.front();
  typed.pop_front();
  return true;
}

namespace {

bool Forced(const char* override, const char* kind) {
  return override != nullptr && std::strcmp(override, kind) == 0;
}

}  // namespace

ButtonSourceKind ChooseButtonSourceKind(const char* override, bool deviceOpened,
                                        const char* videoDriver) {
  if (Forced(override, "gpio")) return ButtonSourceKind::kDevice;
  if (Forced(override, "keyboard")) return ButtonSourceKind::kKeyboard;
  if (deviceOpened) return ButtonSourceKind::kDevice;
  if (videoDriver != nullptr && videoDriver[0] != '\0' && std::strcmp(videoDriver, "dummy") != 0) {
    return ButtonSourceKind::kKeyboard;
  }
  return ButtonSourceKind::kDevice;
}

std::unique_ptr<ButtonSource> OpenButtonSource() {
  const char* override = Platform().getEnv("STAKKO_BUTTONS");
  if (Forced(override, "keyboard")) return std::make_unique<KeyboardButtonSource>();
  const int fd = GpioButtonSource::OpenDevice(Platform().gpioPath);
  if (fd < 0) std::fputs("GPIO device not present", stdout);
  char driver[32] = {};
  const char* videoDriver = SDL_VideoDriverName(driver, sizeof driver);
  if (ChooseButtonSourceKind(override, fd >= 0, videoDriver) == ButtonSourceKind::kKeyboard) {
    return std::make_unique<KeyboardButtonSource>();
  }
  return std::make_unique<GpioButtonSource>(fd);
}
