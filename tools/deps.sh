# Sourced by the build scripts: makes sure the Debian packages a build needs are installed.
# As root it installs what is missing with apt-get; otherwise it names the command to run.
#
# The game and its packs need only the compiler, SDL, the image and pack libraries and LAME (the
# asset generator encodes the music); the full check adds the test and benchmark libraries,
# clang with libFuzzer, busybox (its httpd is the real web server the HTTP client's tests fetch
# from), Allegro 4 (the software renderer the renderer benchmark measures itself against) and the
# locale data from which a locale that writes a decimal comma is made (the 3D model tests read
# numbers under it).
stakko_play_packages="cmake g++ make pkg-config libsdl1.2-dev libsdl-mixer1.2-dev libpng-dev \
zlib1g-dev liblzo2-dev libmp3lame-dev"
stakko_check_packages="$stakko_play_packages libgtest-dev libgmock-dev libbenchmark-dev clang \
libclang-rt-14-dev busybox liballegro4-dev locales"

# stakko_install_deps PACKAGE...
stakko_install_deps() {
  local missing=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" = 0 ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq $missing >/dev/null
  else
    echo "Missing packages:$missing"
    echo "Install them with: sudo apt-get install -y$missing"
    return 1
  fi
}

# stakko_make_locale NAME: generates the locale NAME (for example de_DE.UTF-8) when it is missing
# and this is root; otherwise the tests that need it skip with a message.
stakko_make_locale() {
  local name="$1" wanted
  wanted=$(echo "$name" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
  locale -a 2>/dev/null | tr 'A-Z' 'a-z' | grep -qx "$wanted" && return 0
  if [ "$(id -u)" = 0 ]; then
    echo "Generating the locale $name"
    localedef -i "${name%%.*}" -f "${name#*.}" "$name" || echo "Could not generate $name"
  else
    echo "Missing locale $name (the tests that need it skip): sudo localedef -i ${name%%.*} -f ${name#*.} $name"
  fi
}
