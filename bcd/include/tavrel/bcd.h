/* BCD real numbers of the calculator: twelve packed digits for storage, fifteen digits for
   arithmetic. Plain C interface, exported by the core plug-in so that other programs can call
   it by name; every function takes and returns values through caller-owned records. */
#ifndef TAVREL_BCD_H
#define TAVREL_BCD_H

#include <stdint.h>

#if defined(__GNUC__)
#define TAVREL_BCD_API __attribute__((visibility("default")))
#else
#define TAVREL_BCD_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Working form: sign +1/-1 (any other value marks a non-finite value), mantissa of sixteen
   BCD nibbles with the leading digit in nibble 14, power of ten of the leading digit. */
typedef struct BcdReal {
  int32_t sign;
  uint32_t spare1;
  uint32_t mantLow;
  uint32_t mantHigh;
  int32_t exponent;
  uint32_t spare2;
} BcdReal;

/* Storage form: exponent nibbles 0-2, mantissa nibbles 3-14, sign nibble 15. */
typedef uint64_t PackedReal;

/* Status codes. */
enum {
  BCD_EXACT = 0,
  BCD_INEXACT = 1,
  BCD_DIVIDE_BY_ZERO = 4,
  BCD_ZERO_BY_ZERO = 5,
  BCD_NEGATIVE_ROOT = 8,
  BCD_EXPONENT_RANGE = 18,
  BCD_SECOND_POINT = 19,
  BCD_NO_DIGITS = 20,
  BCD_TRAILING_TEXT = 21
};

/* A caller's buffer for fZRToString must hold at least this many characters. */
#define BCD_TEXT_SIZE 40

TAVREL_BCD_API void fUnpack(uint32_t low, uint32_t high, BcdReal* out);
TAVREL_BCD_API PackedReal fPack(const BcdReal* x);
TAVREL_BCD_API int fNorm(BcdReal* x);
TAVREL_BCD_API int fNorm_L(int mode, BcdReal* x);
TAVREL_BCD_API int fNormUp_L(BcdReal* x);

TAVREL_BCD_API int fradd(const BcdReal* x, const BcdReal* y, BcdReal* out);
TAVREL_BCD_API int frsub(const BcdReal* x, const BcdReal* y, BcdReal* out);
TAVREL_BCD_API int fmul_noNorm(const BcdReal* x, const BcdReal* y, BcdReal* out);
TAVREL_BCD_API int finv(const BcdReal* x, BcdReal* out);

/* The C library's <math.h> declares fmul, fdiv and fsqrt too (narrowing functions of
   doubles). C++ cannot hold two C-linkage declarations of one name, so there these three are
   declared as overloads that carry the same symbol names and live beside <cmath>. A C unit
   that calls them cannot include <math.h> as well. */
#if defined(__cplusplus) && defined(__GNUC__)
}
namespace tavrel_bcd_libm_names {
TAVREL_BCD_API int fmul(const BcdReal* x, const BcdReal* y, BcdReal* out) __asm__("fmul");
TAVREL_BCD_API int fdiv(const BcdReal* x, const BcdReal* y, BcdReal* out) __asm__("fdiv");
TAVREL_BCD_API int fsqrt(const BcdReal* x, BcdReal* out) __asm__("fsqrt");
}  // namespace tavrel_bcd_libm_names
using tavrel_bcd_libm_names::fdiv;
using tavrel_bcd_libm_names::fmul;
using tavrel_bcd_libm_names::fsqrt;
extern "C" {
#else
TAVREL_BCD_API int fmul(const BcdReal* x, const BcdReal* y, BcdReal* out);
TAVREL_BCD_API int fdiv(const BcdReal* x, const BcdReal* y, BcdReal* out);
TAVREL_BCD_API int fsqrt(const BcdReal* x, BcdReal* out);
#endif
TAVREL_BCD_API void hfmod(const BcdReal* x, const BcdReal* y, BcdReal* out);
TAVREL_BCD_API int fmul2(const BcdReal* x, BcdReal* out);
TAVREL_BCD_API int fdiv2(const BcdReal* x, BcdReal* out);

TAVREL_BCD_API void fichs(BcdReal* x);
TAVREL_BCD_API void fiabs(BcdReal* x);
TAVREL_BCD_API void fiIP(BcdReal* out, const BcdReal* x);
TAVREL_BCD_API void fiFP(BcdReal* out, const BcdReal* x);
TAVREL_BCD_API void ficeil(BcdReal* out, const BcdReal* x);
TAVREL_BCD_API void fifloor(BcdReal* out, const BcdReal* x);
TAVREL_BCD_API int firnd(const BcdReal* x, int n, BcdReal* out);
TAVREL_BCD_API int fitrunc(const BcdReal* x, int n, BcdReal* out);
TAVREL_BCD_API void fimin(BcdReal* out, const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API void fimax(BcdReal* out, const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int32_t fZRToInt(const BcdReal* x);
TAVREL_BCD_API void fIntToZR(int32_t n, BcdReal* out);
TAVREL_BCD_API int fNbSigDigits(const BcdReal* x);

TAVREL_BCD_API int fStringToZR(const char* text, BcdReal* out, char point, char separator);
TAVREL_BCD_API int fStringToZR_er(const char* text, BcdReal* out, const char** end, int strict,
                                  char point, char separator);
TAVREL_BCD_API char* fZRToString(const BcdReal* x, char* buffer, char point, char separator,
                                 int mode, int digits, int width);

TAVREL_BCD_API int fLT(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fLE(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fGT(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fGE(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fEQ(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fNE(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fMLT(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fMLE(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fMGT(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fMGE(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fMEQ(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fMNE(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fZero(const BcdReal* x);
TAVREL_BCD_API int fMZero(const BcdReal* x);
TAVREL_BCD_API int fFinite(const BcdReal* x);
TAVREL_BCD_API int fPos(const BcdReal* x);
TAVREL_BCD_API int fNeg(const BcdReal* x);
TAVREL_BCD_API int fiParity(const BcdReal* x);
TAVREL_BCD_API int fiInteger(const BcdReal* x);
TAVREL_BCD_API int fiSignEQ(const BcdReal* x, const BcdReal* y);
TAVREL_BCD_API int fPNaN(uint32_t low, uint32_t high);
TAVREL_BCD_API int fError(int code);

TAVREL_BCD_API uint32_t dcbDigit(uint32_t low, uint32_t high, int i);
TAVREL_BCD_API uint64_t dcbAddAdjust(uint32_t aLow, uint32_t aHigh, uint32_t bLow, uint32_t bHigh);
TAVREL_BCD_API uint64_t dcbSubAdjust(uint32_t bLow, uint32_t bHigh, uint32_t aLow, uint32_t aHigh);
TAVREL_BCD_API uint64_t dcbShiftRound(uint64_t v, int n);
TAVREL_BCD_API uint64_t dcbMul(uint64_t v, uint32_t flags);
TAVREL_BCD_API uint32_t bintobcd(uint32_t n);
TAVREL_BCD_API uint64_t dcbtobin(uint64_t v);

TAVREL_BCD_API extern const BcdReal ZR_0, ZR_N0, ZR_1, ZR_2, ZR_3, ZR_4, ZR_5, ZR_6, ZR_7, ZR_8,
    ZR_9, ZR_N1, ZR_N2, ZR_N3, ZR_10, ZR_11, ZR_50, ZR_Max, ZR_NMax, ZR_Min, ZR_NMin;
TAVREL_BCD_API extern const uint64_t MinMantisa;
TAVREL_BCD_API extern const PackedReal PZR_0, PZR_1, PZR_2, PZR_3, PZR_12, PZR_100, PZR_200;

#ifdef __cplusplus
}
#endif

#endif
