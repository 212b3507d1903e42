// Filled in by the tolva work.
