// Filled in by the venit work.
