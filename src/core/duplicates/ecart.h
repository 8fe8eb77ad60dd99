#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Squared differences between signature grids of 100 bytes. Each function exists in a portable
// form and, where the processor has them, in 256-bit vector instructions; the choice is made once,
// at the first call, and both give the same results.

// Sum over the 100 cells of the squared differences: 0 .. 6 502 500.
int32_t EcartGrilles(const uint8_t* a, const uint8_t* b);

// Compares one grid with n grids laid end to end (100 bytes each) and appends to proches, in
// order, the index of every grid whose Ecart with it is below seuil.
void EcartsSousLeSeuil(const uint8_t* grille, const uint8_t* grilles, std::size_t n, int32_t seuil,
                       std::vector<uint32_t>& proches);

// Which form is in use, for the benchmarks: "avx2" or "portable". forcePortable makes every later
// call use the portable form (tests compare the two).
const char* FormeEcart();
void ForceEcartPortable(bool forcePortable);
