// The POSIX platform layer gains its files as the seams that need them land.
