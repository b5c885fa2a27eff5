#!/usr/bin/env bash
# Makes the release packages of both Windows builds in build/package/: for each a portable zip
# (the program, the README, the licence) and an installer made with NSIS. The version is the
# project's, as CMake configured it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
out="$ROOT/build/package"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$ROOT/build/windows/CMakeCache.txt")
rm -rf "$out"
mkdir -p "$out"
# preset, architecture name, NSIS target
for build in "windows x64 amd64-unicode" "windows-x86 x86 x86-unicode"; do
  read -r preset arch target <<<"$build"
  name="xiudeng-$version-$arch"
  stage="$out/$name"
  mkdir "$stage"
  cp "$ROOT/build/$preset/xiudeng.exe" "$ROOT/README.md" "$ROOT/LICENSE" "$stage/"
  (cd "$out" && zip -q -X -r "$name.zip" "$name")
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DTARGET="$target" -DSTAGE="$stage" \
    -DICON="$ROOT/ui/xiudeng.ico" -DOUTFILE="$out/$name-setup.exe" "$ROOT/packaging/xiudeng.nsi"
  rm -r "$stage"
done
ls -l "$out"
