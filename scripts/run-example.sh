#!/usr/bin/env bash
# Installs what is missing, builds the converter, the engine and the DXF
# plug-in, and converts the bundled example drawing. The converter prints
# "plan.dxf -> ..." for each drawing file it writes into build/bin/cnvrt/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${KX_BUILD_DIR:-$root/build}"
export KX_BUILD_DIR="$build"
"$root/scripts/build.sh" --target korvexcmd dxfin kxresources
"$build/bin/korvexcmd" "$root/examples/plan.dxf"
