// Benchmarks to come.
