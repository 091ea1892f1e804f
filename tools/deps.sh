# Sourced by the build scripts: makes sure the Debian packages the build needs are installed.
# As root it installs what is missing with apt-get; otherwise it names the command to run.
stakko_packages="cmake g++ make pkg-config libsdl1.2-dev libsdl-mixer1.2-dev libpng-dev zlib1g-dev \
liblzo2-dev libgtest-dev libgmock-dev libbenchmark-dev libmp3lame-dev clang libclang-rt-14-dev"

# The renderer benchmark's peer, for the test and benchmark build only (tools/check passes it).
stakko_bench_packages="liballegro4-dev"

# stakko_install_deps [extra packages...]
stakko_install_deps() {
  local missing=""
  for p in $stakko_packages "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" = 0 ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq $missing >/dev/null
  else
    echo "Missing packages:$missing"
    echo "Install them with: sudo apt-get install -y $stakko_packages $*"
    return 1
  fi
}
