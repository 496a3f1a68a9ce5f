#pragma once

// Four hand-made hourly records of 14 July 2006 and the summary records A and B worked
// out by hand from them.
//
// The records (archive interval 60 minutes, wind 0 mph so that wind chill is the
// temperature; humidity 0 % or 100 % or none so that heat index, dew point and THW come
// from the tables' fixed rows):
//   01:00  T 50.0 (hi 50.5 lo 49.5), in 70.0, bar 29.900, hum none, in hum 40.0 %,
//          5 tips of 0.01 in, rate 100 tips/h, gust 5.0 mph from NE, dir N, 100 samples,
//          solar 200 (hi 250), UV 1.0 (hi 1.5), ET +0.005
//   02:00  T 80.0 (hi 80.5 lo 79.0), in 72.0, bar 30.100, hum 0 %, in hum 45.0 %, no rain,
//          rate 0, gust 5.0 (a tie), dir E, 120 samples, solar 300 (hi none), no UV,
//          solar term 100, ET -0.003
//   03:00  every field holding a no-data form: 0x7FFF temperatures, barometer 15.000,
//          0x8000 rain, negative samples, 255 bytes
//   04:00  T -60.0 (hi -59.0 lo -61.0), in 68.0, bar 29.900 (equal to the low), hum 100 %,
//          in hum 30.0 %, 3 tips of 0.2 mm, gust 3.0, dir N, 32767 samples, solar 0
//          (hi 10), UV 2.0 (hi none), ET +0.010

#include "summary_test_support.h"

namespace summary_test {

inline std::array<Bytes, 4> handMadeRecords() {
  Bytes r1 = freshArchive();
  r1[1] = 60;
  put16(r1, 4, 60);
  put16(r1, 6, 500);
  put16(r1, 8, 505);
  put16(r1, 10, 495);
  put16(r1, 12, 700);
  put16(r1, 14, 29900);
  put16(r1, 18, 400);
  put16(r1, 20, 0x1005);
  put16(r1, 22, 100);
  put16(r1, 24, 0);
  put16(r1, 26, 50);
  r1[28] = 0;
  r1[29] = 2;
  put16(r1, 30, 100);
  put16(r1, 32, 200);
  put16(r1, 34, 250);
  r1[36] = 10;
  r1[37] = 15;
  r1[57] = 5;

  Bytes r2 = freshArchive();
  r2[1] = 60;
  r2[3] = 0x10;  // evapotranspiration is negative
  put16(r2, 4, 120);
  put16(r2, 6, 800);
  put16(r2, 8, 805);
  put16(r2, 10, 790);
  put16(r2, 12, 720);
  put16(r2, 14, 30100);
  put16(r2, 16, 0);
  put16(r2, 18, 450);
  put16(r2, 20, 0x1000);
  put16(r2, 22, 0);
  put16(r2, 24, 0);
  put16(r2, 26, 50);
  r2[28] = 4;
  r2[29] = 4;
  put16(r2, 30, 120);
  put16(r2, 32, 300);
  put16(r2, 42, 100);
  r2[57] = 3;

  Bytes r3 = freshArchive();
  r3[1] = 60;
  put16(r3, 4, 180);
  for (std::size_t off : {6, 8, 10, 12}) put16(r3, off, 0x7FFF);
  put16(r3, 14, 15000);
  put16(r3, 20, 0x8000);
  put16(r3, 30, -1);

  Bytes r4 = freshArchive();
  r4[1] = 60;
  put16(r4, 4, 240);
  put16(r4, 6, -600);
  put16(r4, 8, -590);
  put16(r4, 10, -610);
  put16(r4, 12, 680);
  put16(r4, 14, 29900);
  put16(r4, 16, 1000);
  put16(r4, 18, 300);
  put16(r4, 20, 0x2003);
  put16(r4, 24, 0);
  put16(r4, 26, 30);
  r4[28] = 0;
  r4[29] = 6;
  put16(r4, 30, 32767);
  put16(r4, 32, 0);
  put16(r4, 34, 10);
  r4[36] = 20;
  r4[57] = 10;
  return {r1, r2, r3, r4};
}

inline Bytes expectedA() {
  Bytes a{};
  a[0] = 2;
  put16(a, 2, 240);   // four records of 60 minutes, the empty one included
  put16(a, 4, 805);   // interval highs 50.5, 80.5, -59.0
  put16(a, 6, -610);  // interval lows 49.5, 79.0, -61.0
  put16(a, 8, 720);
  put16(a, 10, 680);
  put16(a, 12, 233);  // (50 + 80 - 60) / 3 = 23.33
  put16(a, 14, 700);  // (70 + 72 + 68) / 3
  put16(a, 16, 800);  // wind chill = temperature at 0 mph
  put16(a, 18, -600);
  put16(a, 20, -600);  // dew point only at 100 %: the temperature
  put16(a, 22, -600);
  put16(a, 24, 233);
  put16(a, 26, -600);
  put16(a, 28, 1000);
  put16(a, 30, 0);
  put16(a, 32, 450);
  put16(a, 34, 300);
  put16(a, 36, 500);  // (0 + 100) / 2 %, tenths
  put16(a, 38, 30100);
  put16(a, 40, 29900);
  put16(a, 42, 29967);  // (29.9 + 30.1 + 29.9) / 3 = 29.96667
  put16(a, 44, 50);
  put16(a, 46, 0);
  put16(a, 48, 0);       // wind run at 0 mph
  put16(a, 50, -32768);  // second wind speed: never filled
  a[52] = 2;             // direction of the 01:00 gust; the equal 02:00 gust does not win
  a[53] = 0;             // none becomes 0
  put16(a, 54, 74);      // 0.05 + 3 * 0.2 / 25.4 = 0.07362 in
  put16(a, 56, 100);     // 100 tips/h of 0.01 in = 1.00 in/h
  put16(a, 58, 13);      // (1.0 + 2.0) * 60 / 140 = 1.2857 MED
  a[60] = 20;            // the 04:00 average beats the 01:00 high of 15
  const int slots[18] = {120, 240, 120, 240, 120, 240, 240,   240, 240,
                         120, 120, 240, 120, 60,  60,  0x7FF, 60,  240};
  for (int i = 0; i < 18; ++i) put12(a, 61, i, slots[i]);
  return a;
}

inline Bytes expectedB() {
  Bytes b{};
  b[0] = 3;
  b[1] = 255;
  put16(b, 4, 32767);  // 100 + 120 + 32767 saturates; the negative count is left out
  put16(b, 6, 300);    // the 02:00 average stands in for its missing high
  put16(b, 8, 430);    // (200 + 300 + 0) * 60 * 60 * 2.3892e-5 = 43.006 ly
  put16(b, 10, -32768);
  put16(b, 12, 12);    // 5 - 3 + 10
  put16(b, 14, 756);   // heat index of 80 °F at 0 %: 75.6
  put16(b, 16, -600);  // at -60 °F the heat index is the temperature
  put16(b, 18, 78);    // (75.6 - 60) / 2
  put16(b, 20, 857);   // THSW = THW 75.6 + 100 * 0.101
  put16(b, 22, 857);
  put16(b, 24, 756);  // THW = chill + heat - T
  put16(b, 26, -600);
  put16(b, 28, 58);  // (15 + 125) * 60 / 1440 = 5.833
  put16(b, 30, 800);
  put16(b, 32, -600);
  put16(b, 34, 233);
  put12(b, 36, 0, 120);  // north: 01:00 and 04:00
  put12(b, 36, 4, 60);   // east: 02:00
  const int slots[10] = {120, 120, 240, 120, 240, 120, 120, 120, 240, 0x800};
  for (int i = 0; i < 10; ++i) put12(b, 60, i, slots[i]);
  put16(b, 75, 6);  // 15 * 60 / 1440 = 0.625
  for (std::size_t off = 77; off <= 85; off += 2) put16(b, off, -32768);
  b[87] = 0;
  return b;
}

}  // namespace summary_test
