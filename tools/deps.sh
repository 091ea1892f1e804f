# Sourced by the build scripts: makes sure the Debian packages a build needs are installed.
# As root it installs what is missing with apt-get; otherwise it names the command to run.
#
# The game and its packs need only the compiler, SDL, the image and pack libraries and LAME (the
# asset generator encodes the music); the full check adds the test and benchmark libraries,
# clang with libFuzzer, and busybox (its httpd is the real web server the HTTP client's tests
# fetch from).
stakko_play_packages="cmake g++ make pkg-config libsdl1.2-dev libsdl-mixer1.2-dev libpng-dev \
zlib1g-dev liblzo2-dev libmp3lame-dev"
stakko_check_packages="$stakko_play_packages libgtest-dev libgmock-dev libbenchmark-dev clang \
libclang-rt-14-dev busybox"

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
