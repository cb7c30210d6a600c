#!/usr/bin/env bash
# Builds the Debian package vantrel_<version>_<arch>.deb in the source
# folder, from a release build of its own in build-package/ made with
# Debian's hardening flags.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --packaging
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DVANTREL_COMMAND_DIR=games
cmake --build build-package --target vantrel vantrel_compressed_docs
(cd build-package && cpack -G DEB)
cp build-package/vantrel_*.deb .
ls -l vantrel_*.deb
