#!/usr/bin/env bash
# Rebuilds docs/performance.md from the per-library pages in docs/performance/.
set -euo pipefail
cd "$(dirname "$0")/.."
{
  echo "# Performance"
  echo
  echo "Benchmarks live in \`bench/\` (Google Benchmark); figures are medians, ratios are measured"
  echo "in one run. Each library keeps its page in \`docs/performance/\`; this file gathers them."
  for page in engine physics2d tiled particle audio graphics animation; do
    [ -f "docs/performance/$page.md" ] || continue
    echo
    sed -E 's/^(#+) /\1# /' "docs/performance/$page.md"
  done
} > docs/performance.md
