#pragma once

#include <cstdio>

// The 44-byte PCM WAVE header the recorder puts in front of a recording before encoding it.

// Seeks to the start and writes the header with both lengths 0. Answers 0.
int CreateWavHeader(std::FILE *file, int channels, int sampleRate, int bitsPerSample);

// Patches the lengths for the file's present length L: L − 8 at offset 4, L − 44 at offset 40;
// leaves the position at the end. −1 when there is no file or it is empty, else 0.
int UpdateWavHeader(std::FILE *file);
