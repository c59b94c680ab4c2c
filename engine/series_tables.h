// The truncated Earth (VSOP87D) and Moon longitude series, constant data made
// by tools/gen_series.py.
#pragma once

namespace tovani::series {

// A * cos(B + C * tau), tau in Julian millennia from J2000.
struct Term {
  double a, b, c;
};

// A * sin(P + N*T + D*T^2 + E*T^3 + F*T^4), A in arc seconds, T in Julian centuries.
struct MoonTerm {
  double a, p, n, d, e, f;
};

extern const Term EarthL0[160], EarthL0b[30], EarthL1[80], EarthL2[40], EarthL3[8], EarthL4[8], EarthL5[4];
extern const Term EarthB0[80], EarthB1[40], EarthB2[20], EarthB3[8], EarthB4[4];
extern const Term EarthR0[120], EarthR1[60], EarthR2[40], EarthR3[6], EarthR4[6], EarthR5[2];
extern const MoonTerm MoonS0[55], MoonS1[8], MoonS2[3];

}  // namespace tovani::series
