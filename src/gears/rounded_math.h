#pragma once

// The elementary functions whose results the program shows to the last
// digit, correctly rounded, so that every system and processor gives the
// same doubles. The C libraries' are not: glibc's sine differs in the last
// bit between processors with and without FMA, Windows' in far more places.
// Each is computed in quadruple precision and rounded once, which is exact
// for every input but a few in 2^50.

namespace kelvaro {

double roundedSin(double x);
double roundedCos(double x);
double roundedAsin(double x);
double roundedAcos(double x);
double roundedAtan(double x);
double roundedPow(double x, double y);
double roundedLog10(double x);

} // namespace kelvaro
