# Rendering benchmarks of the view's own renderer; sourced by bench/run.sh.

# Both resolutions come from one run of the driver, which prints both lines.
bench_render_refman() {
  QT_QPA_PLATFORM=offscreen "$BUILD/bench/view_bench"
}
