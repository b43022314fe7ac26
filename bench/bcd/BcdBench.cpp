// Cost of one operation on random fifteen-digit operands, for the BCD library, GCC's
// decimal64 (16 digits, software decimal of libgcc) and Boost's cpp_dec_float<15>. All
// three run over the same values in the same order. decimal64 has neither a square root
// nor a text form in the standard library, so those rows compare two implementations.
#include <benchmark/benchmark.h>

#include <boost/multiprecision/cpp_dec_float.hpp>
#include <decimal/decimal>
#include <random>
#include <string>
#include <vector>

#include "tavrel/bcd.h"

namespace {

using Boost15 = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<15>,
                                              boost::multiprecision::et_off>;
using std::decimal::decimal64;

constexpr size_t kCount = 1024;  // a power of two, so that cycling is a mask

struct Operands {
  std::vector<BcdReal> bcd;
  std::vector<PackedReal> packed;
  std::vector<std::string> text;
  std::vector<decimal64> dec;
  std::vector<Boost15> boost;

  Operands() {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-20, 20);
    for (size_t i = 0; i < kCount; ++i) {
      long long coefficient = 1 + digit(random) % 9;
      for (int d = 1; d < 15; ++d) {
        coefficient = coefficient * 10 + digit(random);
      }
      const bool negative = (random() & 1) != 0;
      const int e = exponent(random);
      const std::string digits = std::to_string(coefficient);
      const std::string scientific = std::string(negative ? "-" : "") + digits.substr(0, 1) + "." +
                                     digits.substr(1) + "E" + std::to_string(e);
      BcdReal x{};
      fStringToZR(scientific.c_str(), &x, '.', 0);
      bcd.push_back(x);
      packed.push_back(fPack(&x));
      text.push_back(scientific);
      dec.push_back(std::decimal::make_decimal64(negative ? -coefficient : coefficient, e - 14));
      boost.emplace_back(scientific);
    }
  }
};

const Operands& operands() {
  static const Operands instance;
  return instance;
}

template <typename Op>
void runBcd(benchmark::State& state, Op op) {
  const auto& v = operands().bcd;
  BcdReal out{};
  size_t i = 0;
  for (auto _ : state) {
    op(&v[i & (kCount - 1)], &v[(i + 1) & (kCount - 1)], &out);
    benchmark::DoNotOptimize(out);
    ++i;
  }
}

template <typename T, typename Op>
void runValues(benchmark::State& state, const std::vector<T>& v, Op op) {
  size_t i = 0;
  for (auto _ : state) {
    T out = op(v[i & (kCount - 1)], v[(i + 1) & (kCount - 1)]);
    benchmark::DoNotOptimize(out);
    ++i;
  }
}

void Add_Bcd(benchmark::State& s) {
  runBcd(s, fradd);
}
void Add_Decimal64(benchmark::State& s) {
  runValues(s, operands().dec, [](decimal64 a, decimal64 b) { return a + b; });
}
void Add_CppDecFloat15(benchmark::State& s) {
  runValues(s, operands().boost, [](const Boost15& a, const Boost15& b) { return Boost15(a + b); });
}

void Sub_Bcd(benchmark::State& s) {
  runBcd(s, frsub);
}
void Sub_Decimal64(benchmark::State& s) {
  runValues(s, operands().dec, [](decimal64 a, decimal64 b) { return a - b; });
}
void Sub_CppDecFloat15(benchmark::State& s) {
  runValues(s, operands().boost, [](const Boost15& a, const Boost15& b) { return Boost15(a - b); });
}

void Mul_Bcd(benchmark::State& s) {
  runBcd(s, [](const BcdReal* x, const BcdReal* y, BcdReal* out) { return fmul(x, y, out); });
}
void Mul_Decimal64(benchmark::State& s) {
  runValues(s, operands().dec, [](decimal64 a, decimal64 b) { return a * b; });
}
void Mul_CppDecFloat15(benchmark::State& s) {
  runValues(s, operands().boost, [](const Boost15& a, const Boost15& b) { return Boost15(a * b); });
}

void Div_Bcd(benchmark::State& s) {
  runBcd(s, [](const BcdReal* x, const BcdReal* y, BcdReal* out) { return fdiv(x, y, out); });
}
void Div_Decimal64(benchmark::State& s) {
  runValues(s, operands().dec, [](decimal64 a, decimal64 b) { return a / b; });
}
void Div_CppDecFloat15(benchmark::State& s) {
  runValues(s, operands().boost, [](const Boost15& a, const Boost15& b) { return Boost15(a / b); });
}

void Sqrt_Bcd(benchmark::State& s) {
  runBcd(s, [](const BcdReal* x, const BcdReal*, BcdReal* out) {
    BcdReal magnitude = *x;
    fiabs(&magnitude);
    return fsqrt(&magnitude, out);
  });
}
void Sqrt_CppDecFloat15(benchmark::State& s) {
  runValues(s, operands().boost,
            [](const Boost15& a, const Boost15&) { return Boost15(sqrt(abs(a))); });
}

void PackUnpack_Bcd(benchmark::State& s) {
  const auto& v = operands().bcd;
  size_t i = 0;
  BcdReal out{};
  for (auto _ : s) {
    const PackedReal p = fPack(&v[i & (kCount - 1)]);
    fUnpack(static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32), &out);
    benchmark::DoNotOptimize(out);
    ++i;
  }
}

void ToText_Bcd(benchmark::State& s) {
  const auto& v = operands().bcd;
  char buffer[BCD_TEXT_SIZE];
  size_t i = 0;
  for (auto _ : s) {
    benchmark::DoNotOptimize(fZRToString(&v[i++ & (kCount - 1)], buffer, '.', ',', 0, 12, 10));
  }
}
void ToText_CppDecFloat15(benchmark::State& s) {
  const auto& v = operands().boost;
  size_t i = 0;
  for (auto _ : s) {
    std::string text = v[i++ & (kCount - 1)].str(10);
    benchmark::DoNotOptimize(text);
  }
}

void FromText_Bcd(benchmark::State& s) {
  const auto& v = operands().text;
  BcdReal out{};
  size_t i = 0;
  for (auto _ : s) {
    fStringToZR(v[i++ & (kCount - 1)].c_str(), &out, '.', 0);
    benchmark::DoNotOptimize(out);
  }
}
void FromText_CppDecFloat15(benchmark::State& s) {
  const auto& v = operands().text;
  size_t i = 0;
  for (auto _ : s) {
    Boost15 out(v[i++ & (kCount - 1)]);
    benchmark::DoNotOptimize(out);
  }
}

BENCHMARK(Add_Bcd);
BENCHMARK(Add_Decimal64);
BENCHMARK(Add_CppDecFloat15);
BENCHMARK(Sub_Bcd);
BENCHMARK(Sub_Decimal64);
BENCHMARK(Sub_CppDecFloat15);
BENCHMARK(Mul_Bcd);
BENCHMARK(Mul_Decimal64);
BENCHMARK(Mul_CppDecFloat15);
BENCHMARK(Div_Bcd);
BENCHMARK(Div_Decimal64);
BENCHMARK(Div_CppDecFloat15);
BENCHMARK(Sqrt_Bcd);
BENCHMARK(Sqrt_CppDecFloat15);
BENCHMARK(PackUnpack_Bcd);
BENCHMARK(ToText_Bcd);
BENCHMARK(ToText_CppDecFloat15);
BENCHMARK(FromText_Bcd);
BENCHMARK(FromText_CppDecFloat15);

}  // namespace

BENCHMARK_MAIN();
