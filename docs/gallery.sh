#!/usr/bin/env bash
# Redraws the README's gallery: water, ammonium, carbon dioxide and nitrate, and
# the organic row ethanol, acetic acid, glucose and benzene, in each style, as
# zembrel-render makes them (docs/gallery/<species>-<style>.png),
# and water, carbon dioxide, sodium chloride and magnesium oxide in dots and
# crosses, with and without their outer shells (<species>-dot-cross.png,
# <species>-dot-cross-shells.png), and the resonance forms of nitrate,
# carbonate, ozone and benzene (<species>-resonance.png), four formulas
# the table lacks, worked out (<formula>-worked.png), and six shapes
# (<formula>-shape.png).
#
# usage: docs/gallery.sh [build-dir]   (default build/dev, built if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
render=$build/src/render/zembrel-render
[[ -x $render ]] || { cmake --preset dev -S "$root" >/dev/null && cmake --build "$build" --target zembrel-render >/dev/null; }

out=$root/docs/gallery
mkdir -p "$out"
species=(water:O ammonium:'[NH4+]' carbon-dioxide:O=C=O nitrate:'[O-][N+](=O)[O-]'
    ethanol:CCO acetic-acid:'CC(O)=O' glucose:'OCC(O)C(O)C(O)C(O)C=O' benzene:c1ccccc1)
styles=(lewis dots bars)
list=$(mktemp)
trap 'rm -f "$list"' EXIT
resonance=(nitrate:'[O-][N+](=O)[O-]' carbonate:'[O-]C([O-])=O' ozone:'O=[O+][O-]' benzene:c1ccccc1)
worked=(BrF5 XeOF4 ICl4- NOCl)
shapes=(H2O NH3 CH4 SF4 XeF4 SF6)
ionic=(water:O carbon-dioxide:O=C=O sodium-chloride:'[Na+].[Cl-]' magnesium-oxide:'[Mg+2].[O-2]')
{
    for entry in "${species[@]}"; do
        for style in "${styles[@]}"; do
            printf -- "--smiles '%s' --style %s -o %s-%s.png\n" "${entry#*:}" "$style" "${entry%%:*}" "$style"
        done
    done
    for entry in "${ionic[@]}"; do
        printf -- "--smiles '%s' --style dot-cross -o %s-dot-cross.png\n" "${entry#*:}" "${entry%%:*}"
        printf -- "--smiles '%s' --style dot-cross --shells -o %s-dot-cross-shells.png\n" "${entry#*:}" "${entry%%:*}"
    done
    for formula in "${worked[@]}"; do
        printf -- "--formula '%s' -o %s-worked.png\n" "$formula" "$formula"
    done
    for formula in "${shapes[@]}"; do
        printf -- "--formula '%s' --style shape -o %s-shape.png\n" "$formula" "$formula"
    done
    for entry in "${resonance[@]}"; do
        printf -- "--smiles '%s' --resonance -o %s-resonance.png\n" "${entry#*:}" "${entry%%:*}"
    done
} >"$list"
"$render" --batch "$list" --scale 2 --output-dir "$out"
echo "docs/gallery: $(wc -l <"$list") pictures"
