#!/bin/sh
# Runs a validator of a Debian package that the project's tests use but the
# build does not need. When the tool is missing the test is skipped (exit
# 77, which ctest reports as skipped) and says which package brings it.
#   run_validator.sh TOOL PACKAGE [ARGS...]
tool=$1
package=$2
shift 2
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "SKIPPED: $tool is not installed (Debian package $package; tools/setup-debian installs it)"
  exit 77
fi
exec "$tool" "$@"
