// Implemented in progress.
